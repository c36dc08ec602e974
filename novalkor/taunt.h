#pragma once
#include "platform/runtime.h"

class LauncherDialog;

// One of two clips at random: the rare one for about one draw in twenty, with
// the common one as the fallback for either.
void NovalkorTaunt(LauncherDialog& launcher, Runtime& runtime);
