// Numbers of every resource and control of both programs. Read by the resource
// compiler and by the C++ build alike, so it holds nothing but #defines.
#pragma once

// Resources
#define IDI_APP 128
#define IDB_PICTURE 129
#define IDD_LAUNCHER 102
#define IDD_DISCLAIMER 132
#define IDD_FIND_GAME 145
#define IDD_VERSION 146
#define IDW_NOVALKOR_TAUNT 133
#define IDW_NOVALKOR_RARE_TAUNT 138
#define IDW_VALKOR_TAUNT 154

// Controls
#define IDC_STATIC (-1)
#define IDC_README 1000
#define IDC_NOTICE 1002
#define IDC_TAUNT 1003
// Two windows' controls share a number where the windows' layouts give them
// the same one: 1004 is the edit box of the find-game window (the folder) and of
// the version window (the number); 1006 is Visit site in the launcher and the
// status line in the find-game window. No window holds both.
#define IDC_PATH 1004
#define IDC_VERSION 1004
#define IDC_SEARCH 1005
#define IDC_VISIT_SITE 1006
#define IDC_STATUS 1006
#define IDC_EXPLANATION 1007
#define IDC_PROMPT 1008
#define IDC_PICTURE 1009
#define IDC_BROWSE 1010

// The strings' names come with their texts (resources/strings.def); the
// resource compiler reads only the numbers above.
#ifndef RC_INVOKED
#include "resources/string_ids.h"
#endif
