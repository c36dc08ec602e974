// A stand-in for the game's executable "Drifthvn.exe". It records where and how
// it was started, then ends: the directory it was started in, its show state,
// whether it could open flux.ini there with no sharing (so the launcher had
// closed it) and whether a launcher window was still visible. The record is
// appended to the file named by STANDIN_LOG, else to standin.log beside it.
#include <windows.h>
#include <cstdio>
#include <string>

namespace {

BOOL CALLBACK FindVisibleLauncher(HWND window, LPARAM found) {
    char title[256] = {};
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    GetWindowTextA(window, title, sizeof(title));
    if (std::string(cls) == "#32770" && std::string(title).rfind("Corvane 2: Drifthaven", 0) == 0 &&
        IsWindowVisible(window))
        *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    GetStartupInfoA(&startup);
    const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;

    HANDLE flux = CreateFileA("flux.ini", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD fluxError = flux == INVALID_HANDLE_VALUE ? GetLastError() : 0;
    if (flux != INVALID_HANDLE_VALUE) CloseHandle(flux);

    bool launcherVisible = false;
    EnumWindows(FindVisibleLauncher, reinterpret_cast<LPARAM>(&launcherVisible));

    char logPath[MAX_PATH] = {};
    if (GetEnvironmentVariableA("STANDIN_LOG", logPath, MAX_PATH) == 0) {
        GetModuleFileNameA(nullptr, logPath, MAX_PATH);
        char* slash = strrchr(logPath, '\\');
        if (slash != nullptr) strcpy(slash + 1, "standin.log");
    }
    FILE* log = fopen(logPath, "a");
    if (log != nullptr) {
        fprintf(log, "started dir=%s show=%d flux=%lu launcher_visible=%d args=%s\n", directory, show,
                static_cast<unsigned long>(fluxError), launcherVisible ? 1 : 0, GetCommandLineA());
        fclose(log);
    }
    return 0;
}
