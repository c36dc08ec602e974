#include "win32_entry.h"
#include <commctrl.h>
#include "launcher/command_line.h"
#include "launcher/launcher_app.h"
#include "win32_platform.h"

int RunProgram(HINSTANCE instance, const Profile& profile) {
    // Windows XP makes no version-6 control until the common controls are loaded;
    // should this fail, the dialogs are made of the system's older controls.
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    Win32Platform platform(instance);
    LauncherApp app(platform.Get(), profile);
    app.InitInstance(CommandTail(GetCommandLineA()));
    return 0;
}
