// A simulated machine with the game installed and everything in order: the
// game's key, its directory with the executable, the mod's archive and the
// settings files, and (unless told otherwise) the notice accepted.
#pragma once
#include <string>
#include "platform/sim/sim_platform.h"
#include "registry/game_keys.h"

const char kGameDirectory[] = "C:\\Games\\Drifthaven";

inline void InstallGame(SimPlatform& sim, bool noticeAccepted = true) {
    const std::string game = kGameDirectory;
    sim.files.AddVolume('C', DRIVE_FIXED);
    sim.files.AddFile(game + "\\Drifthvn.exe", "MZ");
    sim.files.AddFile(game + "\\mods\\valkormod.zip", "PK");
    sim.files.AddFile(game + "\\flux.ini", "; options\r\n[icGame]\r\nmovies[0] = /movies/intro\r\n");
    sim.files.AddFile(game + "\\defaults.ini", "; defaults\r\n[icGame]\r\nmovies[0] = /movies/intro\r\n");
    sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", game);
    sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 14);
    if (noticeAccepted) sim.registry.PutDword(MOD_KEY, "Agreed", 1);
}
