#include "valkor/enable_recipe.h"
#include "launcher/launcher_dialog.h"

namespace {

struct Edit {
    const char* section;
    const char* key;
    const char* value;
};

// Applied in this order: the mod marked active, five options, and the first
// entry of the movie list.
const Edit kEdits[] = {
    {"Mods", "valkormod", "1"},
    {"icPlayerPilot", "max_rem_range", "100000"},
    {"icShip", "critical_damage_scale", "0.5"},
    {"icShip", "criticals_per_impact", "0.5"},
    {"icTacticalCamera", "field_of_view", "1.75"},
    {"iiSim", "collision_damage_factor", "4"},
    {"icGame", "movies[0]", "/movies/vort"},
};

BOOL Enable(LauncherDialog&, SettingsFile& flux) {
    for (const Edit& edit : kEdits) SetSettingValue(flux, edit.section, edit.key, edit.value);
    // The rest of the movie list is blanked, up to its first empty or missing entry.
    for (unsigned int index = 1; !GetSettingValue(flux, "icGame", MovieKey(index)).empty(); ++index)
        SetSettingValue(flux, "icGame", MovieKey(index), "");
    return TRUE;
}

}  // namespace

BOOL EnableRecipe(LauncherDialog& launcher) { return launcher.EditSettingsFile(Enable); }
