#include "win32_entry.h"
#include "launcher/command_line.h"
#include "launcher/launcher_app.h"
#include "win32_platform.h"

int RunProgram(HINSTANCE instance, const Profile& profile) {
    Win32Platform platform(instance);
    LauncherApp app(platform.Get(), profile);
    app.InitInstance(CommandTail(GetCommandLineA()));
    return 0;
}
