// The registry as the core sees it: the ADVAPI32 calls it makes, with their
// arguments and result codes (0 for success, a Win32 error code otherwise).
#pragma once
#include "win_types.h"

class Registry {
public:
    virtual ~Registry() = default;
    // RegOpenKeyExA
    virtual LONG OpenKey(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) = 0;
    // RegQueryValueExA: a null data pointer asks for the type and size only.
    virtual LONG QueryValue(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                            DWORD* size) = 0;
    // RegCreateKeyExA
    virtual LONG CreateKey(HKEY root, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                           REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) = 0;
    // RegSetValueExA
    virtual LONG SetValue(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                          DWORD size) = 0;
    // RegCloseKey
    virtual LONG CloseKey(HKEY key) = 0;
};
