// A stand-in for the browser and the HTML viewer: the test prefix registers it
// for ".html" files and for the http protocol. It appends its command line to
// the file named by STANDIN_LOG, the log of the stand-in game too, and ends.
#include <windows.h>
#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char logPath[MAX_PATH] = {};
    if (GetEnvironmentVariableA("STANDIN_LOG", logPath, MAX_PATH) == 0) return 1;
    FILE* log = fopen(logPath, "a");
    if (log == nullptr) return 1;
    // The document as the viewer would open it: its argument taken from the
    // directory it was started in, and whether that file exists.
    char directory[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, directory);
    char full[MAX_PATH] = {};
    if (__argc > 1) GetFullPathNameA(__argv[1], MAX_PATH, full, nullptr);
    const bool exists = __argc > 1 && GetFileAttributesA(full) != INVALID_FILE_ATTRIBUTES;
    fprintf(log, "opened %s dir=%s full=%s exists=%d\n", GetCommandLineA(), directory, full, exists ? 1 : 0);
    fclose(log);
    return 0;
}
