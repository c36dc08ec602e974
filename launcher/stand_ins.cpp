// STAND-INS, all in this one file, for the operations that later work builds:
// the repairs of the game's registry key and the sounds. Each says what it pretends.
#include "launcher/stand_ins.h"
#include "launcher/launcher_dialog.h"

// Stand-in for the rebuild of a missing key: the user declines; nothing is shown.
BOOL LauncherDialog::RebuildSettingsKey(HKEY&) { return FALSE; }

// Stand-in for choosing the game's directory: the user declines; nothing is shown.
BOOL LauncherDialog::CorrectInstallPath(std::string&) { return FALSE; }

// Stand-in for detecting a missing version: none is obtained; nothing is shown.
BOOL LauncherDialog::RecoverVersion(DWORD&) { return FALSE; }

// Stand-in for correcting a version below the minimum: the user declines.
BOOL LauncherDialog::CorrectVersion(DWORD&) { return FALSE; }

// Stand-in: there is no sound to stop yet.
void LauncherDialog::StopSound() {}

void StandInPlayTaunt(LauncherDialog&) {}
