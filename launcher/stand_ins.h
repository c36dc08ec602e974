// STAND-INS. The patch recipes and the taunt sounds are built by later work; until
// then both programs bind these. Nothing here is final.
#pragma once
#include "platform/win_types.h"

class LauncherDialog;

// Stand-in for the patch recipe: reports success without touching a file.
BOOL StandInPatchSettings(LauncherDialog& launcher);
// Stand-in for the taunt: plays nothing.
void StandInPlayTaunt(LauncherDialog& launcher);
