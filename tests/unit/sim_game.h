// A simulated machine with the game installed and everything in order: the
// game's key, its directory with the executable, the mod's archive and the
// settings files, and the notice accepted; and what the tests of the launcher
// share: its runner, the ways to cancel, the boxes shown, the shell requests,
// what must be left closed, registry faults and script steps.
#pragma once
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "platform/sim/sim_platform.h"
#include "registry/game_keys.h"

const char kGameDirectory[] = "C:\\Games\\Drifthaven";

inline void InstallGame(SimPlatform& sim) {
    const std::string game = kGameDirectory;
    sim.files.AddVolume('C', DRIVE_FIXED);
    sim.files.AddFile(game + "\\Drifthvn.exe", "MZ");
    sim.files.AddFile(game + "\\mods\\valkormod.zip", "PK");
    sim.files.AddFile(game + "\\flux.ini", "; options\r\n[icGame]\r\nmovies[0] = /movies/intro\r\n");
    sim.files.AddFile(game + "\\defaults.ini", "; defaults\r\n[icGame]\r\nmovies[0] = /movies/intro\r\n");
    sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", game);
    sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 14);
    sim.registry.PutDword(MOD_KEY, "Agreed", 1);
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

// A script step in a window, and one that clicks one button.
using DialogStep = std::function<void(SimDialogView&)>;
inline DialogStep Pressing(int id) { return [id](SimDialogView& window) { window.Press(id); }; }

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

// A shell request as "file|directory|mask|show", with "|icon" when it carries
// one and "|odd" when its other fields are not those of a plain open.
inline std::string Describe(const ShellRequest& r) {
    const bool plain = r.cbSize == sizeof(SHELLEXECUTEINFOA) && r.hwnd == nullptr && r.verbNull && !r.parametersNull &&
                       r.parameters.empty() && !r.directoryNull;
    return r.file + "|" + r.directory + "|" + std::to_string(r.fMask) + "|" + std::to_string(r.nShow) +
           (r.hIcon != nullptr ? "|icon" : "") + (plain ? "" : "|odd");
}

// Nothing left behind: the script used up, no key, file, font or window open.
inline void ExpectNothingLeft(const SimPlatform& sim) {
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    EXPECT_EQ(sim.registry.OpenHandles(), 0);
    EXPECT_EQ(sim.files.OpenHandles(), 0);
    EXPECT_EQ(sim.windows.LiveFonts(), 0);
    EXPECT_EQ(sim.windows.OpenWindows(), 0);
}

// A fault for the call-th call of one registry operation on one value, or on a
// key whose path holds the name (names and paths come in lower case).
inline void FailRegistry(SimPlatform& sim, RegOp op, const std::string& name, int call, LONG error) {
    sim.registry.inject = [=, count = 0](RegOp made, const std::string& path, const std::string& value) mutable {
        if (made != op || (value != name && path.find(name) == std::string::npos)) return LONG(ERROR_SUCCESS);
        return ++count == call ? error : LONG(ERROR_SUCCESS);
    };
}
