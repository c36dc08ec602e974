#include "novalkor/taunt.h"
#include "launcher/launcher_dialog.h"
#include "resources/resource_ids.h"

void NovalkorTaunt(LauncherDialog& launcher, Runtime& runtime) {
    for (int i = 0; i < 2; ++i) runtime.Srand(static_cast<unsigned int>(runtime.Rand()));
    const int low = runtime.Rand() % 256;
    const int percent = low * 100 / 256;
    const UINT clip = percent >= 95 ? IDW_NOVALKOR_RARE_TAUNT : IDW_NOVALKOR_TAUNT;
    if (!launcher.PlayWave(clip)) launcher.PlayWave(IDW_NOVALKOR_TAUNT);
}
