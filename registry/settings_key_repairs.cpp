// The repairs of the game's Settings key that InstallCheck calls: rebuilding a
// missing key, choosing the game's directory when the registered one is wrong,
// and obtaining the version when it is unreadable or too old. They are the only
// writers of that key.
#include "finder/find_game_dialog.h"
#include "launcher/format_message.h"
#include "launcher/launcher_dialog.h"
#include "registry/game_keys.h"
#include "resources/resource_ids.h"

namespace {

// The 32-bit program hands over a 12-byte structure; the key's security then
// comes from its parent.
static_assert(sizeof(void*) != 4 || sizeof(SECURITY_ATTRIBUTES) == 12, "SECURITY_ATTRIBUTES of a 32-bit program");

LONG SetInstallPath(Registry& registry, HKEY key, const std::string& path) {
    return registry.SetValue(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>(path.size() + 1));
}

LONG SetVersion(Registry& registry, HKEY key, DWORD version) {
    // Little-endian whatever the machine that runs this.
    const BYTE bytes[4] = {static_cast<BYTE>(version), static_cast<BYTE>(version >> 8),
                           static_cast<BYTE>(version >> 16), static_cast<BYTE>(version >> 24)};
    return registry.SetValue(key, "Version", 0, REG_DWORD, bytes, sizeof(bytes));
}

}  // namespace

int LauncherDialog::Ask(const std::string& text, UINT style) { return MessageBoxOwned(text, m_strTitle, style); }

std::string LauncherDialog::VersionText(UINT stringId, DWORD version) {
    return FormatMessageText(LoadText(stringId), {std::to_string(version)});
}

LONG LauncherDialog::CreateSettingsKey(REGSAM access, HKEY& key) {
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    char noClass[] = "";
    DWORD disposition = 0;
    return m_platform.registry.CreateKey(HKEY_LOCAL_MACHINE, GAME_SETTINGS_KEY, 0, noClass, REG_OPTION_NON_VOLATILE,
                                         access, &security, &key, &disposition);
}

BOOL LauncherDialog::RebuildSettingsKey(HKEY& key) {
    if (Ask(LoadText(IDS_ASK_REBUILD), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return FALSE;
    FindGameDialog finder(m_platform, nullptr);
    std::string directory;
    if (!finder.AskGameDirectory(LoadText(IDS_FIND_CAPTION), LoadText(IDS_FIND_REBUILD), directory)) return FALSE;
    m_strInstallPath = directory;

    Registry& registry = m_platform.registry;
    // The caller's handle receives only the key it is to close: the one handed back.
    HKEY written = nullptr;
    if (CreateSettingsKey(KEY_WRITE, written) != ERROR_SUCCESS) return ReportError(IDS_ERROR_CREATING_REGISTRY_KEY);
    const bool stored = SetInstallPath(registry, written, m_strInstallPath) == ERROR_SUCCESS;
    if (!stored) ReportError(IDS_ERROR_SETTING_DIRECTORY);
    registry.CloseKey(written);
    if (!stored) return FALSE;

    const DWORD version = DetectVersion();
    if (version == 0) return FALSE;
    if (Ask(VersionText(IDS_ASK_STORE_VERSION, version), MB_YESNO | MB_ICONQUESTION) != IDYES) return FALSE;
    HKEY handedBack = nullptr;
    if (CreateSettingsKey(KEY_READ | KEY_WRITE, handedBack) != ERROR_SUCCESS)
        return ReportError(IDS_ERROR_CREATING_KEY);
    if (SetVersion(registry, handedBack, version) != ERROR_SUCCESS) {
        ReportError(IDS_ERROR_SETTING_VERSION);
        registry.CloseKey(handedBack);
        return FALSE;
    }
    key = handedBack;
    return TRUE;
}

BOOL LauncherDialog::CorrectInstallPath(std::string& path) {
    FindGameDialog finder(m_platform, nullptr);
    if (!finder.AskGameDirectory(LoadText(IDS_WRONG_PATH_CAPTION), LoadText(IDS_FIND_WRONG_PATH), path)) return FALSE;
    // The start-up goes on with the chosen directory even when it cannot be stored.
    HKEY key = nullptr;
    if (CreateSettingsKey(KEY_WRITE, key) != ERROR_SUCCESS) {
        ReportError(IDS_ERROR_CREATING_REGISTRY_KEY);
        return TRUE;
    }
    if (SetInstallPath(m_platform.registry, key, path) != ERROR_SUCCESS) ReportError(IDS_ERROR_SETTING_DIRECTORY);
    m_platform.registry.CloseKey(key);
    return TRUE;
}

void LauncherDialog::WriteVersion(DWORD version) {
    HKEY key = nullptr;
    if (CreateSettingsKey(KEY_WRITE, key) != ERROR_SUCCESS) {
        ReportError(IDS_ERROR_CREATING_KEY);
        return;
    }
    if (SetVersion(m_platform.registry, key, version) != ERROR_SUCCESS) ReportError(IDS_ERROR_SETTING_VERSION);
    m_platform.registry.CloseKey(key);
}

BOOL LauncherDialog::RecoverVersion(DWORD& version) {
    Ask(LoadText(IDS_ERROR_READING_VERSION), MB_OK | MB_ICONINFORMATION);
    version = DetectVersion();
    if (version == 0) return FALSE;
    // A version the player does not store serves this start only.
    if (Ask(VersionText(IDS_ASK_STORE_VERSION, version), MB_YESNO | MB_ICONQUESTION) == IDYES) WriteVersion(version);
    return TRUE;
}

BOOL LauncherDialog::CorrectVersion(DWORD& version) {
    if (Ask(LoadText(IDS_ASK_CORRECT_VERSION), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return FALSE;
    version = DetectVersion();
    if (version == 0) return FALSE;
    if (Ask(VersionText(IDS_ASK_STORE_VERSION, version), MB_YESNO | MB_ICONQUESTION) == IDYES) WriteVersion(version);
    return TRUE;
}
