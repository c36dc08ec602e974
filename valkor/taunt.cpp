#include "valkor/taunt.h"
#include "launcher/launcher_dialog.h"
#include "resources/resource_ids.h"

// Its one clip; when it does not play, nothing does.
void ValkorTaunt(LauncherDialog& launcher, Runtime&) { launcher.PlayWave(IDW_VALKOR_TAUNT); }
