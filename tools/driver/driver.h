// Driving the real programs from another process, as a person at the screen
// would: start them, find their windows by caption, read control texts, press
// buttons and keys, take pictures of windows, wait for the end.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Program {
    HANDLE process = nullptr;
    DWORD id = 0;
};

// Starts "exe" with the command-line tail, in the given directory (or the test's own).
bool Start(const std::string& exe, const std::string& tail, Program& program, const char* directory = nullptr);
// True when the program ended within the time, with its exit code; closes its handle then.
bool WaitForEnd(Program& program, DWORD milliseconds, DWORD* exitCode = nullptr);
void Kill(Program& program);

// A visible top-level dialog window of the process with this caption, or null after the time.
HWND WaitForDialog(const Program& program, const std::string& caption, DWORD milliseconds);
// Every top-level dialog window of the process that is shown now.
std::vector<HWND> Dialogs(const Program& program);
// A message box of the process (a dialog with the static text 0xFFFF), or null after the time.
HWND WaitForMessageBox(const Program& program, DWORD milliseconds);
// Its text.
std::string MessageText(HWND box);
std::string Caption(HWND window);
std::string ItemText(HWND dialog, int id);
bool ItemVisible(HWND dialog, int id);
// A click on a button: WM_COMMAND with BN_CLICKED, as the button sends it.
void Click(HWND dialog, int id);
// The Escape key on the control with the focus, and the close box.
void PressEscape(HWND dialog);
void CloseBox(HWND dialog);
// A picture of the window as it is on the screen, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
// Copies a directory tree; false on the first failure.
bool CopyTree(const std::string& from, const std::string& to);
// Removes a directory tree; missing is fine.
void RemoveTree(const std::string& path);
