// LauncherDialog's DetectVersion: the game's major version, recognised from the
// directory entry of the game's engine library, or else typed by the player.
#include "launcher/launcher_dialog.h"
#include "registry/version_dialog.h"
#include "resources/resource_ids.h"

namespace {

// The engine library of each known build as its directory entry shows it: the
// last-write time (100 ns units since 1601, UTC) and the size, each in halves.
struct KnownBuild {
    DWORD timeHigh;
    DWORD timeLow;
    DWORD sizeHigh;
    DWORD sizeLow;
    DWORD version;
};

const KnownBuild kKnownBuilds[] = {
    {0x01C14B80, 0x59F1CB00, 0, 0x17C000, 14},  // 2001-10-02 20:25:18, 1556480 bytes
    {0x01C1066C, 0x8161F600, 0, 0x179000, 12},  // 2001-07-06 22:39:24, 1544192 bytes
};

}  // namespace

DWORD LauncherDialog::DetectVersion() {
    WIN32_FIND_DATAA entry{};
    const std::string library = m_strInstallPath + "\\bin\\release\\corv2.dll";
    HANDLE find = m_platform.files.FindFirst(library.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        ReportError(IDS_ENGINE_MISSING);
        return 0;
    }
    m_platform.files.FindEnd(find);

    for (const KnownBuild& build : kKnownBuilds) {
        if (entry.ftLastWriteTime.dwHighDateTime == build.timeHigh &&
            entry.ftLastWriteTime.dwLowDateTime == build.timeLow && entry.nFileSizeHigh == build.sizeHigh &&
            entry.nFileSizeLow == build.sizeLow) {
            Ask(VersionText(IDS_VERSION_DETECTED, build.version), MB_OK | MB_ICONINFORMATION);
            return build.version;
        }
    }

    // An unknown build: the player may start the game to read the version off
    // its main menu. The launcher stays visible and does not wait for the game.
    UINT prompt = IDS_PROMPT_VERSION;
    if (Ask(LoadText(IDS_ASK_START_GAME), MB_YESNO | MB_ICONQUESTION) == IDYES) {
        ShellOpen("Drifthvn.exe", m_strInstallPath.c_str(), SEE_MASK_ICON, SW_SHOWMINIMIZED);
        prompt = IDS_PROMPT_AFTER_START;
    }
    VersionDialog dialog(m_platform, nullptr);
    return dialog.AskVersion(LoadText(prompt));
}
