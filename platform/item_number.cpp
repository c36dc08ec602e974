#include "item_number.h"
#include <cstdint>

UINT UnsignedItemNumber(const std::string& text) {
    size_t at = text.find_first_not_of(' ');
    uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + static_cast<uint64_t>(text[at] - '0');
        if (value > UINT32_MAX) return 0;
    }
    return static_cast<UINT>(value);
}
