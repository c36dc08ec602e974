// The no-warranty notice: a read-only, scrolling text and OK and Cancel. The
// launcher goes on only when it ends with OK.
#pragma once
#include "platform/dialog.h"
#include "platform/platform.h"

class DisclaimerDialog : public Dialog {
public:
    DisclaimerDialog(Platform& platform, HWND parent);
    BOOL OnInitDialog() override;

private:
    std::string Text(UINT id) { return m_platform.resources.Text(id); }
    Platform& m_platform;
};
