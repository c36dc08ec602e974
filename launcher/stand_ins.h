// STAND-IN. The taunt sounds are built by later work; until then both programs
// bind this. Nothing here is final.
#pragma once
#include "platform/win_types.h"

class LauncherDialog;

// Stand-in for the taunt: plays nothing.
void StandInPlayTaunt(LauncherDialog& launcher);
