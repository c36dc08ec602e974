// The mod's own registry key and the mod's files: LauncherDialog's ReadAgreed,
// WriteModInfo and ModPresent.
#include <cstring>
#include "launcher/launcher_dialog.h"
#include "registry/game_keys.h"
#include "registry/path_exists.h"
#include "registry/registry_values.h"
#include "resources/resource_ids.h"

BOOL LauncherDialog::ReadAgreed() {
    Registry& registry = m_platform.registry;
    HKEY key = nullptr;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, MOD_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return FALSE;
    DWORD agreed = 0;
    const bool accepted = ReadDword(registry, key, "Agreed", agreed) && agreed != 0;
    registry.CloseKey(key);
    return accepted ? TRUE : FALSE;
}

BOOL LauncherDialog::WriteModInfo() {
    Registry& registry = m_platform.registry;
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    char noClass[] = "";
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (registry.CreateKey(HKEY_LOCAL_MACHINE, MOD_KEY, 0, noClass, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, &security,
                           &key, &disposition) != ERROR_SUCCESS)
        return ReportError(IDS_ERROR_CREATING_REGISTRY_KEY);

    const DWORD agreed = 1;
    const char version[] = "0.4Alpha";
    const char unload[] = "novalkor.exe -u";
    const struct {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
    } values[] = {
        {"Agreed", REG_DWORD, &agreed, sizeof(agreed)},
        {"Version", REG_SZ, version, sizeof(version)},
        {"Unload", REG_SZ, unload, static_cast<DWORD>(std::strlen(unload) + 1)},
    };
    BOOL written = TRUE;
    for (const auto& value : values) {
        if (registry.SetValue(key, value.name, 0, value.type, static_cast<const BYTE*>(value.data), value.size) !=
            ERROR_SUCCESS) {
            written = ReportError(IDS_ERROR_MOD_VALUES);
            break;
        }
    }
    registry.CloseKey(key);
    return written;
}

BOOL LauncherDialog::ModPresent() {
    if (PathExists(m_platform.files, m_strInstallPath + "\\mods\\valkormod.zip") ||
        PathExists(m_platform.files, m_strInstallPath + "\\mods\\valkormod"))
        return TRUE;
    return ReportError(IDS_MOD_MISSING);
}
