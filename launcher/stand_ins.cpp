// STAND-INS, all in this one file, for the operations that later work builds:
// the agreement and mod registration, the no-warranty notice, the installation
// and mod checks, and the sounds. Each says what it pretends.
#include "launcher/stand_ins.h"
#include <vector>
#include "launcher/launcher_dialog.h"

// Stand-in: the agreement counts as recorded.
BOOL LauncherDialog::ReadAgreed() { return TRUE; }

// Stand-in: the no-warranty notice counts as accepted; no window is shown.
INT_PTR LauncherDialog::RunDisclaimer() { return IDOK; }

// Stand-in: nothing is written.
BOOL LauncherDialog::WriteModInfo() { return TRUE; }

// Stand-in: the checks pass. The install path is taken from the game's key when
// a plain REG_SZ "InstallPath" can be read, so that Play and Readme have a place.
BOOL LauncherDialog::InstallCheck() {
    Registry& registry = m_platform.registry;
    HKEY key = nullptr;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, "Software\\Vortigen\\Drifthaven\\Settings", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return TRUE;
    std::vector<BYTE> data(MAX_PATH + 1, 0);
    DWORD type = REG_NONE;
    DWORD size = MAX_PATH;
    if (registry.QueryValue(key, "InstallPath", nullptr, &type, data.data(), &size) == ERROR_SUCCESS &&
        type == REG_SZ && size <= MAX_PATH)
        m_strInstallPath.assign(reinterpret_cast<const char*>(data.data()));
    registry.CloseKey(key);
    return TRUE;
}

// Stand-in: the mod's files count as present.
BOOL LauncherDialog::ModPresent() { return TRUE; }

// Stand-in: there is no sound to stop yet.
void LauncherDialog::StopSound() {}

void StandInPlayTaunt(LauncherDialog&) {}
