// novalkor's patch: switches the mod off in flux.ini, from the game's defaults.ini.
#pragma once
#include "platform/win_types.h"

class LauncherDialog;

BOOL DisableRecipe(LauncherDialog& launcher);
