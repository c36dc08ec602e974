// valkor's patch: switches the mod on in flux.ini.
#pragma once
#include "platform/win_types.h"

class LauncherDialog;

BOOL EnableRecipe(LauncherDialog& launcher);
