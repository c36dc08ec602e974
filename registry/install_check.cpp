// The installation check: LauncherDialog's InstallCheck, which takes the game's
// directory and major version from the game's registry key, calling the repairs
// where the key is missing or wrong.
#include "launcher/launcher_dialog.h"
#include "registry/game_keys.h"
#include "registry/path_exists.h"
#include "registry/registry_values.h"
#include "resources/resource_ids.h"

BOOL LauncherDialog::InstallCheck() {
    Registry& registry = m_platform.registry;
    HKEY key = nullptr;
    const LONG opened = registry.OpenKey(HKEY_LOCAL_MACHINE, GAME_SETTINGS_KEY, 0, KEY_READ, &key);
    if (opened == ERROR_FILE_NOT_FOUND) {
        if (!RebuildSettingsKey(key)) return FALSE;
    } else if (opened != ERROR_SUCCESS) {
        return ReportError(IDS_ERROR_OPENING_KEY);
    }
    // Every way on closes the key.
    const auto fail = [&](UINT message) {
        ReportError(message);
        registry.CloseKey(key);
        return FALSE;
    };

    if (!ReadText(registry, key, "InstallPath", m_strInstallPath)) return fail(IDS_ERROR_READING_PATH);
    if (!PathExists(m_platform.files, m_strInstallPath + "\\Drifthvn.exe") && !CorrectInstallPath(m_strInstallPath))
        return fail(IDS_WRONG_INSTALL_PATH);

    DWORD version = 0;
    if (!ReadDword(registry, key, "Version", version) && !RecoverVersion(version)) return fail(IDS_NO_VERSION);
    if (version < MIN_GAME_VERSION && !(CorrectVersion(version) && version >= MIN_GAME_VERSION))
        return fail(IDS_VERSION_REQUIRED);
    registry.CloseKey(key);
    return TRUE;
}
