// A thin dialog class: one modal window built from a numbered template, with
// virtual handlers that the window system calls and helpers for its controls.
// The four windows of the launchers derive from it.
#pragma once
#include <string>
#include "window_system.h"

class Dialog {
public:
    Dialog(WindowSystem& windows, UINT templateId, HWND parent);
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the window modally; the result given to EndModal, or -1.
    INT_PTR DoModal();

    UINT TemplateId() const { return m_nTemplate; }
    HWND Handle() const { return m_hWnd; }

    // Called by the window system only.
    void Attach(HWND window) { m_hWnd = window; }
    void Detach() { m_hWnd = nullptr; }

    // TRUE lets the window system put the focus on the first control that takes it.
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK: the OK button or Enter.
    virtual void OnOK() { EndModal(IDOK); }
    // IDCANCEL: the Cancel button, Escape or the close box.
    virtual void OnCancel() { EndModal(IDCANCEL); }
    // Commands from other controls, and WM_TIMER. Like MFC's handlers they give
    // no result: the dialog manager does nothing more with either message.
    virtual void OnCommand(int id, int notifyCode);
    virtual void OnTimer(UINT_PTR id);

protected:
    WindowSystem& Windows() { return m_windows; }
    void EndModal(INT_PTR result) { m_windows.EndModal(m_hWnd, result); }
    void SetCaption(const std::string& text) { m_windows.SetCaption(m_hWnd, text.c_str()); }
    bool HasItem(int id) { return m_windows.HasItem(m_hWnd, id); }
    void SetItemText(int id, const std::string& text) { m_windows.SetItemText(m_hWnd, id, text.c_str()); }
    std::string GetItemText(int id) { return m_windows.GetItemText(m_hWnd, id); }
    UINT GetItemNumber(int id) { return m_windows.GetItemNumber(m_hWnd, id); }
    void EnableItem(int id, bool enable) { m_windows.EnableItem(m_hWnd, id, enable ? TRUE : FALSE); }
    void FocusItem(int id) { m_windows.FocusItem(m_hWnd, id); }
    int FocusedItem() { return m_windows.FocusedItem(m_hWnd); }
    void MoveFocus(int id) { m_windows.MoveFocus(m_hWnd, id); }
    void Show(int command) { m_windows.Show(m_hWnd, command); }
    UINT_PTR StartTimer(UINT_PTR id, UINT elapse) { return m_windows.StartTimer(m_hWnd, id, elapse); }
    void StopTimer(UINT_PTR id) { m_windows.StopTimer(m_hWnd, id); }
    // A message box owned by this window.
    int MessageBoxOwned(const std::string& text, const std::string& caption, UINT style) {
        return m_windows.ShowMessageBox(m_hWnd, text.c_str(), caption.c_str(), style);
    }
    // The folder picker, owned by this window: a PickOutcome.
    int PickFolder(const std::string& start, std::string& chosen) {
        return m_windows.PickFolder(m_hWnd, start.c_str(), chosen);
    }

private:
    WindowSystem& m_windows;
    UINT m_nTemplate;
    HWND m_hParent;
    HWND m_hWnd = nullptr;
};
