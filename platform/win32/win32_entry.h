// The process entry shared by both programs.
#pragma once
#include "launcher/profile.h"
#include "platform/win_types.h"

// Runs the launcher of the profile with this process's command line; the exit status.
int RunProgram(HINSTANCE instance, const Profile& profile);
