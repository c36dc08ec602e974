// The taunts: clips compiled into the program as WAVE resources, played straight
// from the memory where the resource lies, which stays valid while the process
// lives, as an asynchronous play needs.
#include "launcher/launcher_dialog.h"

BOOL LauncherDialog::PlayWave(UINT waveId) {
    Resources& resources = m_platform.resources;
    HRSRC found = resources.FindRaw(waveId, "WAVE");
    if (found == nullptr) return FALSE;
    HGLOBAL loaded = resources.LoadRaw(found);
    if (loaded == nullptr) return FALSE;
    const void* image = resources.LockRaw(loaded);
    if (image == nullptr) return FALSE;
    // A clip that cannot play is not replaced by the default sound; one that
    // still plays is cut off by the new one.
    return m_platform.sound.PlaySoundImage(image, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}

void LauncherDialog::StopSound() { m_platform.sound.PlaySoundImage(nullptr, 0); }
