// The window in which the player types the game's major version, read off the
// game's main menu when its engine library is not one of the known builds.
#pragma once
#include <string>
#include "platform/dialog.h"
#include "platform/platform.h"

class VersionDialog : public Dialog {
public:
    VersionDialog(Platform& platform, HWND parent);

    // Shows the window with the prompt; the number typed when it closed with OK,
    // else 0. Text that is no number reads as 0 too, and 0 means no version.
    DWORD AskVersion(const std::string& prompt);

    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string Text(UINT id) { return m_platform.resources.Text(id); }

    Platform& m_platform;
    std::string m_strPrompt;
    DWORD m_nVersion = 0;
};
