#include "launcher_app.h"
#include "launcher/command_line.h"
#include "launcher/launcher_dialog.h"

LauncherApp::LauncherApp(Platform& platform, const Profile& profile) : m_platform(platform), m_profile(profile) {}

BOOL LauncherApp::InitInstance(const std::string& commandTail) {
    const std::string tail = commandTail;
    m_bSilent = 0;
    m_platform.runtime.Srand(static_cast<unsigned int>(m_platform.runtime.Time()));
    if (WantsSilentMode(tail)) m_bSilent = 1;

    LauncherDialog dialog(m_platform, m_profile, *this, nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
