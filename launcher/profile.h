// What tells the two programs apart: the strings the launcher loads, the patch
// recipe that Play and silent mode run, and the taunt rule. valkor/ and
// novalkor/ each bind one.
#pragma once
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
    void (*playTaunt)(LauncherDialog& launcher);
};

const Profile& ValkorProfile();
const Profile& NovalkorProfile();
