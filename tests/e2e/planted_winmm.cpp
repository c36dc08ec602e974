// A WINMM.DLL such as an attacker would plant beside a program: the end-to-end
// row copies it, under that name, beside a launcher. Once loaded, it leaves the
// file planted_winmm_ran beside itself, and its sndPlaySoundA plays nothing.
// Lean: windows.h would declare WINMM's own sndPlaySoundA as imported.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <string>

extern "C" __declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR, UINT) { return FALSE; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    std::string mark(path, length);
    mark.replace(mark.rfind('\\') + 1, std::string::npos, "planted_winmm_ran");
    HANDLE file = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return TRUE;
}
