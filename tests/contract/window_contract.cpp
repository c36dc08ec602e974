#include <gtest/gtest.h>
#include "platform_contract.h"

void CheckItemNumberContract(WindowSystem& windows, HWND window, int editId,
                             const std::function<void(const std::string&)>& type) {
    // Blanks before the number, a sign, anything after it; beyond 32 bits; 29 characters read of 30.
    const std::pair<const char*, UINT> cases[] = {
        {"15", 15}, {" 15", 15}, {"\t 15", 15}, {"15 ", 15}, {"15abc", 15}, {"abc", 0}, {"", 0}, {"0", 0},
        {"4294967295", 4294967295u}, {"4294967296", 0}, {"99999999999", 0}, {"-3", 4294967293u}, {"+7", 7},
        {"- 7", 0}, {"000000000000000000000000000017", 1},
    };
    for (const auto& c : cases) {
        type(c.first);
        EXPECT_EQ(windows.GetItemNumber(window, editId), c.second) << '"' << c.first << '"';
    }
}
