#include "version_dialog.h"
#include "resources/resource_ids.h"

VersionDialog::VersionDialog(Platform& platform, HWND parent)
    : Dialog(platform.windows, IDD_VERSION, parent), m_platform(platform) {}

DWORD VersionDialog::AskVersion(const std::string& prompt) {
    m_strPrompt = prompt;
    return DoModal() == IDOK ? m_nVersion : 0;
}

BOOL VersionDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    FocusItem(IDC_VERSION);
    SetItemText(IDC_PROMPT, m_strPrompt);
    SetCaption(Text(IDS_VERSION_CAPTION));
    SetItemText(IDOK, Text(IDS_OK));
    SetItemText(IDCANCEL, Text(IDS_CANCEL));
    // The focus is placed above.
    return FALSE;
}

void VersionDialog::OnOK() {
    m_nVersion = GetItemNumber(IDC_VERSION);
    EndModal(IDOK);
}
