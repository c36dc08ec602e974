// The program's own resources: string table texts and raw resources such as the
// WAVE sounds, from the module that holds them.
#pragma once
#include <string>
#include "win_types.h"

class Resources {
public:
    virtual ~Resources() = default;
    // LoadStringA: FALSE when the string table has no such text.
    virtual BOOL LoadText(UINT id, std::string& text) = 0;
    // The text, or an empty one when the table has none.
    std::string Text(UINT id) {
        std::string text;
        if (!LoadText(id, text)) text.clear();
        return text;
    }
    // FindResourceA with an ordinal name and a named type ("WAVE").
    virtual HRSRC FindRaw(UINT id, const char* type) = 0;
    // LoadResource
    virtual HGLOBAL LoadRaw(HRSRC resource) = 0;
    // LockResource
    virtual const void* LockRaw(HGLOBAL loaded) = 0;
};
