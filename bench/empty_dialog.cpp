// The smallest Win32 dialog program: it opens a dialog from a template and closes
// it at once. The silent-run benchmark compares a launcher's run with this one.
#include <windows.h>

namespace {

INT_PTR CALLBACK Close(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetTimer(window, 1337, 1, nullptr);
        return FALSE;
    }
    if (message == WM_TIMER) {
        KillTimer(window, 1337);
        EndDialog(window, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // 2 when the window could not be made, so that a benchmark can tell.
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, Close, 0) == IDCANCEL ? 0 : 2;
}
