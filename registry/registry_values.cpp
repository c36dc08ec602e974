#include "registry_values.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace {
const DWORD kLargestText = 1024 * 1024;
}

bool ReadDword(Registry& registry, HKEY key, const char* name, DWORD& value) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (registry.QueryValue(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof(DWORD))
        return false;
    BYTE bytes[sizeof(DWORD)] = {};
    size = sizeof(bytes);
    if (registry.QueryValue(key, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof(DWORD))
        return false;
    std::memcpy(&value, bytes, sizeof(value));
    return true;
}

bool ReadText(Registry& registry, HKEY key, const char* name, std::string& text) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (registry.QueryValue(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
        size > kLargestText)
        return false;
    std::vector<BYTE> buffer(static_cast<size_t>(size) + 1, 0);
    DWORD read = size;
    if (registry.QueryValue(key, name, nullptr, &type, buffer.data(), &read) != ERROR_SUCCESS || type != REG_SZ ||
        read > size)
        return false;
    const auto end = std::find(buffer.begin(), buffer.begin() + read, 0);
    text.assign(buffer.begin(), end);
    return true;
}
