// A DLL such as an attacker would plant beside a program, under the name of one
// that the program loads (WINMM.DLL, COMCTL32.DLL): the end-to-end row copies it
// there under both. Once loaded, it leaves the file <its name>_ran beside
// itself; what it exports does nothing.
// Lean: windows.h would declare WINMM's own sndPlaySoundA as imported.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <string>

extern "C" __declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR, UINT) { return FALSE; }
extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*) { return FALSE; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    const std::string mark = std::string(path, length) + "_ran";
    HANDLE file = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
