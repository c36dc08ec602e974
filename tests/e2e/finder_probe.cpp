// Shows the find-game window with the real Win32 adapters, as the repairs of the
// game's key will, and writes what it handed back to the file named on the
// command line: "result=<0|1> path=<directory>".
#include <windows.h>
#include <cstdio>
#include <string>
#include "finder/find_game_dialog.h"
#include "platform/win32/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    Win32Platform platform(instance);
    FindGameDialog dialog(platform.Get(), nullptr);
    std::string path = "unchanged";
    const BOOL accepted = dialog.AskGameDirectory("Find Drifthaven", "Where is the game?", path);
    FILE* out = std::fopen(commandLine, "wb");
    if (out == nullptr) return 1;
    std::fprintf(out, "result=%d path=%s\n", accepted, path.c_str());
    std::fclose(out);
    return 0;
}
