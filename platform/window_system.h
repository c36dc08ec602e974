// Windows, dialogs, controls, timers, message boxes, icons and fonts: the USER32
// and GDI32 calls the core makes. Dialogs run from numbered templates; controls
// are addressed by their identifiers in the template.
#pragma once
#include <string>
#include "win_types.h"

class Dialog;

// What the folder picker gave back.
enum PickOutcome : int {
    PICK_CANCELLED,         // Cancel, Escape or its close box; also a picker that could not be shown
    PICK_FOLDER,            // a folder of a disk, its path in chosen
    PICK_NOT_FILE_SYSTEM,   // a place that is no folder of a disk: a library, the computer itself
    PICK_NOT_IN_CODE_PAGE,  // a folder whose name the ANSI code page cannot write
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // DialogBoxParamA: creates the window from the dialog's template, routes its
    // messages to the dialog's handlers and returns the result given to EndModal,
    // or -1 when the window cannot be created.
    virtual INT_PTR RunModal(Dialog& dialog, HWND parent) = 0;
    // EndDialog
    virtual BOOL EndModal(HWND window, INT_PTR result) = 0;

    // SetWindowTextA on the window itself.
    virtual BOOL SetCaption(HWND window, const char* text) = 0;
    // GetDlgItem(window, id) != NULL
    virtual bool HasItem(HWND window, int id) = 0;
    // SetDlgItemTextA
    virtual BOOL SetItemText(HWND window, int id, const char* text) = 0;
    // GetDlgItemTextA, the whole text whatever its length.
    virtual std::string GetItemText(HWND window, int id) = 0;
    // GetDlgItemInt(window, id, NULL, FALSE) as Microsoft documents it, whatever
    // the platform's own does (platform/item_number.h).
    virtual UINT GetItemNumber(HWND window, int id) = 0;
    // EnableWindow(GetDlgItem(window, id), enable)
    virtual BOOL EnableItem(HWND window, int id, BOOL enable) = 0;
    // SetFocus(GetDlgItem(window, id))
    virtual void FocusItem(HWND window, int id) = 0;
    // GetDlgCtrlID(GetFocus()) when a control of the window has the focus, else 0.
    virtual int FocusedItem(HWND window) = 0;
    // SendMessageA(window, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window, id), TRUE):
    // the focus moved as the dialog manager moves it, the default button with it.
    virtual void MoveFocus(HWND window, int id) = 0;
    // ShowWindow on the window itself.
    virtual BOOL Show(HWND window, int command) = 0;
    // SendMessageA to the window itself (WM_SETICON, WM_SETFONT).
    virtual LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // SetTimer with no callback: the timer's identifier, or 0.
    virtual UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT elapse) = 0;
    // KillTimer
    virtual BOOL StopTimer(HWND window, UINT_PTR id) = 0;
    // MessageBoxA: the button pressed.
    virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) = 0;
    // Windows' own folder picker, modal, owned by owner: the common item dialog in
    // its folder mode (IFileOpenDialog with FOS_PICKFOLDERS) from Vista on, else
    // the shell's folder browser (SHBrowseForFolderA with BIF_RETURNONLYFSDIRS).
    // It opens in the folder start, or at the computer's top level for "". COM
    // runs on the calling thread for the picker alone.
    virtual int PickFolder(HWND owner, const char* start, std::string& chosen) = 0;

    // LoadIconA from the module that holds the resources.
    virtual HICON LoadAppIcon(UINT id) = 0;
    // LoadImageA(module, id, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR)
    virtual HICON LoadSizedIcon(UINT id, int cx, int cy) = 0;
    // CreateFontA
    virtual HFONT MakeFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                           DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                           DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* face) = 0;
    // DeleteObject on a font made by MakeFont.
    virtual BOOL DestroyFont(HFONT font) = 0;
};
