// Reading registry values safely, whatever the registry hands back: any type,
// no bytes, many kilobytes, a text without its terminating zero or with zeros
// inside. Nothing is read or written past a buffer.
#pragma once
#include <string>
#include "platform/registry.h"

// A REG_DWORD of exactly 4 bytes, read in two queries (type and size first);
// false on anything else.
bool ReadDword(Registry& registry, HKEY key, const char* name, DWORD& value);

// A REG_SZ, read in two queries into a buffer of the size the first reported;
// the text runs to the first zero byte. False when a query fails or the type is
// not REG_SZ (or the value is too large to be any path, over 1 MiB).
bool ReadText(Registry& registry, HKEY key, const char* name, std::string& text);
