#include "win32_platform.h"

LONG Win32Registry::OpenKey(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) {
    return RegOpenKeyExA(root, subKey, options, access, result);
}

LONG Win32Registry::QueryValue(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) {
    return RegQueryValueExA(key, name, reserved, type, data, size);
}

LONG Win32Registry::CreateKey(HKEY root, const char* subKey, DWORD reserved, char* keyClass, DWORD options,
                              REGSAM access, SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) {
    return RegCreateKeyExA(root, subKey, reserved, keyClass, options, access, security, result, disposition);
}

LONG Win32Registry::SetValue(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    return RegSetValueExA(key, name, reserved, type, data, size);
}

LONG Win32Registry::CloseKey(HKEY key) { return RegCloseKey(key); }
