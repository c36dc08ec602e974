// The names of the string table's entries, from their one source.
#pragma once

enum StringId : unsigned int {
#define STR(name, number, text) name = number,
#include "resources/strings.def"
#undef STR
};
