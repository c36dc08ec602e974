#include "dialog.h"

Dialog::Dialog(WindowSystem& windows, UINT templateId, HWND parent)
    : m_windows(windows), m_nTemplate(templateId), m_hParent(parent) {}

INT_PTR Dialog::DoModal() { return m_windows.RunModal(*this, m_hParent); }

void Dialog::OnCommand(int, int) {}

void Dialog::OnTimer(UINT_PTR) {}
