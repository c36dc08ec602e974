// The string table as data, for the simulated Windows and the tests.
#pragma once
#include <cstddef>

struct StringEntry {
    unsigned int id;
    const char* text;
};

extern const StringEntry kStringTable[];
extern const size_t kStringTableSize;

// The text of a string number, or null when the table has none.
const char* FindStringText(unsigned int id);
