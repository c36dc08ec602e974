#include "novalkor/disable_recipe.h"
#include "launcher/launcher_dialog.h"

namespace {

struct Option {
    const char* section;
    const char* key;
};

// The options that valkor changes, put back from the game's defaults in this order.
const Option kOptions[] = {
    {"icPlayerPilot", "max_rem_range"},
    {"icShip", "critical_damage_scale"},
    {"icShip", "criticals_per_impact"},
    {"icTacticalCamera", "field_of_view"},
    {"iiSim", "collision_damage_factor"},
};

const char kModMovie[] = "/movies/maravel";

BOOL Disable(LauncherDialog& launcher, SettingsFile& flux) {
    SettingsFile defaults;
    if (!launcher.LoadDefaultsFile(defaults)) return FALSE;
    SetSettingValue(flux, "Mods", "valkormod", "0");
    for (const Option& option : kOptions)
        SetSettingValue(flux, option.section, option.key, GetSettingValue(defaults, option.section, option.key));

    // The movie list of the defaults, without "/movies/maravel", written from
    // entry 0 on with no gaps; it ends at the defaults' first empty entry.
    SetSettingValue(flux, "icGame", "movies[0]", "");
    unsigned int read = 0;
    unsigned int write = 0;
    std::string movie = GetSettingValue(defaults, "icGame", MovieKey(read++));
    while (!movie.empty()) {
        while (movie == kModMovie) movie = GetSettingValue(defaults, "icGame", MovieKey(read++));
        SetSettingValue(flux, "icGame", MovieKey(write++), movie);
        movie = GetSettingValue(defaults, "icGame", MovieKey(read++));
    }
    return TRUE;
}

}  // namespace

BOOL DisableRecipe(LauncherDialog& launcher) { return launcher.EditSettingsFile(Disable); }
