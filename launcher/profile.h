// What tells the two programs apart: the strings the launcher loads, the patch
// recipe that Play and silent mode run, and the taunt rule (which may draw from
// the runtime's random generator). valkor/ and novalkor/ each bind one.
#pragma once
#include "platform/runtime.h"
#include "platform/win_types.h"

class LauncherDialog;

struct Profile {
    const char* name;
    UINT titleString;
    UINT playString;
    UINT readmeCaptionString;
    UINT siteCaptionString;
    UINT cancelString;
    UINT readmeFileString;
    UINT siteString;
    BOOL (*patchSettings)(LauncherDialog& launcher);
    void (*playTaunt)(LauncherDialog& launcher, Runtime& runtime);
};

const Profile& ValkorProfile();
const Profile& NovalkorProfile();
