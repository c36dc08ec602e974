// The real Windows behind the platform interfaces: each call goes straight to
// the Win32 function it is named after.
#pragma once
#include "platform/platform.h"

class Win32Registry : public Registry {
public:
    LONG OpenKey(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) override;
    LONG QueryValue(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) override;
    LONG CreateKey(HKEY root, const char* subKey, DWORD reserved, char* keyClass, DWORD options, REGSAM access,
                   SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) override;
    LONG SetValue(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override;
    LONG CloseKey(HKEY key) override;
};

class Win32Files : public FileSystem {
public:
    HANDLE OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD disposition,
                    DWORD flags, HANDLE templateFile) override;
    BOOL Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override;
    BOOL Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) override;
    DWORD Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) override;
    BOOL Truncate(HANDLE file) override;
    BOOL CloseFile(HANDLE file) override;
    HANDLE FindFirst(const char* pattern, WIN32_FIND_DATAA* data) override;
    BOOL FindNext(HANDLE find, WIN32_FIND_DATAA* data) override;
    BOOL FindEnd(HANDLE find) override;
    UINT DriveType(const char* rootPath) override;
};

class Win32Windows : public WindowSystem {
public:
    explicit Win32Windows(HINSTANCE instance) : m_instance(instance) {}
    INT_PTR RunModal(Dialog& dialog, HWND parent) override;
    BOOL EndModal(HWND window, INT_PTR result) override;
    BOOL SetCaption(HWND window, const char* text) override;
    bool HasItem(HWND window, int id) override;
    BOOL SetItemText(HWND window, int id, const char* text) override;
    std::string GetItemText(HWND window, int id) override;
    UINT GetItemNumber(HWND window, int id) override;
    BOOL EnableItem(HWND window, int id, BOOL enable) override;
    void FocusItem(HWND window, int id) override;
    int FocusedItem(HWND window) override;
    void MoveFocus(HWND window, int id) override;
    BOOL Show(HWND window, int command) override;
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT elapse) override;
    BOOL StopTimer(HWND window, UINT_PTR id) override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) override;
    // The common item dialog or the folder browser, with COM (win32_folder_picker.cpp).
    int PickFolder(HWND owner, const char* start, std::string& chosen) override;
    HICON LoadAppIcon(UINT id) override;
    HICON LoadSizedIcon(UINT id, int cx, int cy) override;
    HFONT MakeFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                   DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                   DWORD pitchAndFamily, const char* face) override;
    BOOL DestroyFont(HFONT font) override;

private:
    HINSTANCE m_instance;
};

class Win32Shell : public Shell {
public:
    BOOL Execute(SHELLEXECUTEINFOA* info) override;
};

// sndPlaySoundA from the system folder's WINMM, loaded at the first sound (win32_services.cpp).
class Win32Sound : public Sound {
public:
    BOOL PlaySoundImage(const void* sound, UINT flags) override;

private:
    BOOL(WINAPI* m_play)(const char*, UINT) = nullptr;
};

class Win32Resources : public Resources {
public:
    explicit Win32Resources(HINSTANCE instance) : m_instance(instance) {}
    BOOL LoadText(UINT id, std::string& text) override;
    HRSRC FindRaw(UINT id, const char* type) override;
    HGLOBAL LoadRaw(HRSRC resource) override;
    const void* LockRaw(HGLOBAL loaded) override;

private:
    HINSTANCE m_instance;
};

class Win32Runtime : public Runtime {
public:
    int Rand() override;
    void Srand(unsigned int seed) override;
    int64_t Time() override;
    BOOL IsLeadByte(BYTE byte) override;
    int64_t Counter() override;
    int64_t CounterFrequency() override;
};

// Everything together, for a program's entry.
class Win32Platform {
public:
    explicit Win32Platform(HINSTANCE instance) : m_windows(instance), m_resources(instance) {}
    Platform& Get() { return m_platform; }

private:
    Win32Registry m_registry;
    Win32Files m_files;
    Win32Windows m_windows;
    Win32Shell m_shell;
    Win32Sound m_sound;
    Win32Resources m_resources;
    Win32Runtime m_runtime;
    Platform m_platform{m_registry, m_files, m_windows, m_shell, m_sound, m_resources, m_runtime};
};
