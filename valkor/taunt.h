#pragma once
#include "platform/runtime.h"

class LauncherDialog;

void ValkorTaunt(LauncherDialog& launcher, Runtime& runtime);
