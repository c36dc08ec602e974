// STAND-IN. The taunt sounds are built by later work; until then both programs
// bind this. Nothing here is final. The repairs of the game's key stand in too
// (launcher/stand_ins.cpp).
#pragma once
#include "platform/win_types.h"

class LauncherDialog;

// Stand-in for the taunt: plays nothing.
void StandInPlayTaunt(LauncherDialog& launcher);
