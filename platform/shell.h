// Opening documents and starting programs: ShellExecuteExA.
#pragma once
#include "win_types.h"

class Shell {
public:
    virtual ~Shell() = default;
    virtual BOOL Execute(SHELLEXECUTEINFOA* info) = 0;
};
