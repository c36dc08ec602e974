// A simulated machine with the game installed and everything in order: the
// game's key, its directory with the executable, the mod's archive and the
// settings files, and (unless told otherwise) the notice accepted; and what the
// tests of the launcher share: its runner, the ways to cancel, the boxes shown.
#pragma once
#include <string>
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
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

// Runs the launcher window of the profile as the application object does.
inline INT_PTR RunLauncher(SimPlatform& sim, const Profile& profile, int silent = 0) {
    LauncherApp app(sim.platform, profile);
    app.m_bSilent = silent;
    LauncherDialog dialog(sim.platform, profile, app, nullptr);
    return dialog.DoModal();
}

// The ways a person closes a window without OK.
inline void (*const kCancelWays[])(SimDialogView&) = {
    [](SimDialogView& window) { window.Press(IDCANCEL); },
    [](SimDialogView& window) { window.Escape(); },
    [](SimDialogView& window) { window.CloseBox(); },
};

// The message boxes shown from the from-th on, a line "text|caption|style" each,
// with "|unowned" for a box without an owner window.
inline std::string Boxes(const SimPlatform& sim, size_t from = 0) {
    std::string lines;
    const std::vector<MessageBoxRecord>& boxes = sim.windows.MessageBoxes();
    for (size_t i = from; i < boxes.size(); ++i)
        lines += boxes[i].text + "|" + boxes[i].caption + "|" + std::to_string(boxes[i].style) +
                 (boxes[i].owner == nullptr ? "|unowned" : "") + "\n";
    return lines;
}
