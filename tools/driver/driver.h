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

// Asks every few milliseconds until done answers true or the wait is over; done's last answer.
template <class Done> bool WaitFor(DWORD every, DWORD wait, Done done) {
    for (DWORD waited = 0; !done(); waited += every) {
        if (waited >= wait) return false;
        Sleep(every);
    }
    return true;
}

// A person's acts, through the system's input queue. Each first waits until the
// window is shown and enabled (no modal box over it), bringing it to the
// foreground as a person's click on it would; false when it never got there.
bool Ready(HWND window);
// The pointer moved to the centre of the control as the screen shows it, the
// left button pressed and released there; false when another window covers it.
bool ClickItem(HWND dialog, int id);
// A click on the window's close box.
bool ClickCloseBox(HWND window);
// A key stroke, virtual key vk, with a modifier key (VK_MENU, VK_SHIFT) held, or none.
bool PressKey(HWND window, WORD vk, WORD modifier = 0);
// The characters of text, typed to the control with the focus.
bool TypeText(HWND window, const std::string& text);
// The id of the dialog's control that has the keyboard focus; 0 when none has it.
int FocusedItem(HWND dialog);
// WM_COMMAND with BN_CLICKED posted to the dialog, as the button sends it: what
// no person can do, for a button that is never shown.
void PostCommand(HWND dialog, int id);
// A picture of the window as it is on the screen, as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const std::string& path);
// What the screen shows in an area: a 24-bit bottom-up DIB's rows, each padded to
// 4 bytes; empty when it could not be read.
struct ScreenImage {
    int width = 0, height = 0;
    std::string rows;
    // The pixel x, y from the area's top left.
    COLORREF At(int x, int y) const;
};
ScreenImage ReadScreen(const RECT& area);
// What a screen reader says for a control: the name that its accessible object
// gives (the same object a reader asks for); "<...>" when it has none.
std::string ReaderName(HWND control);

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
// Copies a directory tree; false on the first failure.
bool CopyTree(const std::string& from, const std::string& to);
// Removes a directory tree; missing is fine.
void RemoveTree(const std::string& path);
