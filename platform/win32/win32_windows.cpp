#include <vector>
#include "platform/dialog.h"
#include "platform/item_number.h"
#include "win32_picture.h"
#include "win32_platform.h"

namespace {

// Routes a dialog's messages to the Dialog object handed over at creation.
INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        Dialog* dialog = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->Attach(window);
        FitPictures(window);
        return dialog->OnInitDialog();
    }
    Dialog* dialog = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            dialog->OnOK();
            return TRUE;
        }
        if (id == IDCANCEL) {
            dialog->OnCancel();
            return TRUE;
        }
        dialog->OnCommand(id, HIWORD(wParam));
        return TRUE;
    }
    case WM_TIMER:
        dialog->OnTimer(wParam);
        return TRUE;
    case WM_DESTROY:
        ReleasePictures(window);
        return FALSE;
    case WM_NCDESTROY:
        dialog->Detach();
        SetWindowLongPtrA(window, DWLP_USER, 0);
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR Win32Windows::RunModal(Dialog& dialog, HWND parent) {
    return DialogBoxParamA(m_instance, MAKEINTRESOURCEA(dialog.TemplateId()), parent, DialogProc,
                           reinterpret_cast<LPARAM>(&dialog));
}

BOOL Win32Windows::EndModal(HWND window, INT_PTR result) { return EndDialog(window, result); }

BOOL Win32Windows::SetCaption(HWND window, const char* text) { return SetWindowTextA(window, text); }

bool Win32Windows::HasItem(HWND window, int id) { return GetDlgItem(window, id) != nullptr; }

BOOL Win32Windows::SetItemText(HWND window, int id, const char* text) {
    // A picture ignores WM_SETTEXT, yet its window text is the name that screen
    // readers say: it is set past the static's own handling.
    HWND item = GetDlgItem(window, id);
    if (item != nullptr && IsPicture(item))
        return DefWindowProcA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
    return SetDlgItemTextA(window, id, text);
}

std::string Win32Windows::GetItemText(HWND window, int id) {
    HWND item = GetDlgItem(window, id);
    if (item == nullptr) return std::string();
    const int length = GetWindowTextLengthA(item);
    if (length <= 0) return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(item, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

UINT Win32Windows::GetItemNumber(HWND window, int id) { return UnsignedItemNumber(GetItemText(window, id)); }

BOOL Win32Windows::EnableItem(HWND window, int id, BOOL enable) {
    return EnableWindow(GetDlgItem(window, id), enable);
}

void Win32Windows::FocusItem(HWND window, int id) { SetFocus(GetDlgItem(window, id)); }

int Win32Windows::FocusedItem(HWND window) {
    HWND focus = GetFocus();
    return focus != nullptr && IsChild(window, focus) ? GetDlgCtrlID(focus) : 0;
}

void Win32Windows::MoveFocus(HWND window, int id) {
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, id)), TRUE);
}

BOOL Win32Windows::Show(HWND window, int command) { return ShowWindow(window, command); }

LRESULT Win32Windows::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

UINT_PTR Win32Windows::StartTimer(HWND window, UINT_PTR id, UINT elapse) { return SetTimer(window, id, elapse, nullptr); }

BOOL Win32Windows::StopTimer(HWND window, UINT_PTR id) { return KillTimer(window, id); }

int Win32Windows::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

HICON Win32Windows::LoadAppIcon(UINT id) { return LoadIconA(m_instance, MAKEINTRESOURCEA(id)); }

HICON Win32Windows::LoadSizedIcon(UINT id, int cx, int cy) {
    return static_cast<HICON>(LoadImageA(m_instance, MAKEINTRESOURCEA(id), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

HFONT Win32Windows::MakeFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                             DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                             DWORD quality, DWORD pitchAndFamily, const char* face) {
    return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                       outPrecision, clipPrecision, quality, pitchAndFamily, face);
}

BOOL Win32Windows::DestroyFont(HFONT font) { return DeleteObject(font); }
