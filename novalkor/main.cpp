#include "platform/win32/win32_entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunProgram(instance, NovalkorProfile()); }
