#include "disclaimer_dialog.h"
#include "resources/resource_ids.h"

DisclaimerDialog::DisclaimerDialog(Platform& platform, HWND parent)
    : Dialog(platform.windows, IDD_DISCLAIMER, parent), m_platform(platform) {}

BOOL DisclaimerDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetCaption(Text(IDS_NOTICE_CAPTION));
    SetItemText(IDC_NOTICE, Text(IDS_NOTICE));
    SetItemText(IDOK, Text(IDS_OK));
    SetItemText(IDCANCEL, Text(IDS_CANCEL));
    return TRUE;
}
