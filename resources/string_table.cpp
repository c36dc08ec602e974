#include "string_table.h"

const StringEntry kStringTable[] = {
#define STR(name, number, text) {number, text},
#include "strings.def"
#undef STR
};

const size_t kStringTableSize = sizeof(kStringTable) / sizeof(kStringTable[0]);

const char* FindStringText(unsigned int id) {
    for (const StringEntry& entry : kStringTable)
        if (entry.id == id) return entry.text;
    return nullptr;
}
