// The registry keys the launchers read and write, below HKEY_LOCAL_MACHINE.
#pragma once

// The game's own key, made by its installer.
#define GAME_SETTINGS_KEY "Software\\Vortigen\\Drifthaven\\Settings"
// The mod's key: the accepted notice, the mod's version and its unload command.
#define MOD_KEY "Software\\Vortigen\\Drifthaven\\Mods\\Valkormod"

// The oldest major version of the game that the mod works with.
const unsigned long MIN_GAME_VERSION = 14;
