// The application object: reads the command line and runs the launcher window
// once. The process ends when the window closes.
#pragma once
#include <string>
#include "launcher/profile.h"
#include "platform/dialog.h"
#include "platform/platform.h"

class LauncherApp {
public:
    LauncherApp(Platform& platform, const Profile& profile);

    // Always FALSE: there is no message loop of the application's own.
    BOOL InitInstance(const std::string& commandTail);

    int m_bSilent = 0;
    Dialog* m_pMainWnd = nullptr;

private:
    Platform& m_platform;
    const Profile& m_profile;
};
