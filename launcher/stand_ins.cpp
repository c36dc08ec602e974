// STAND-INS, all in this one file, for the operations that later work builds:
// the sounds. Each says what it pretends.
#include "launcher/stand_ins.h"
#include "launcher/launcher_dialog.h"

// Stand-in: there is no sound to stop yet.
void LauncherDialog::StopSound() {}

void StandInPlayTaunt(LauncherDialog&) {}
