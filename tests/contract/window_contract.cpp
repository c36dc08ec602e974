#include <gtest/gtest.h>
#include "platform_contract.h"

void CheckItemNumberContract(WindowSystem& windows, HWND window, int editId,
                             const std::function<void(const std::string&)>& type) {
    // As Microsoft documents GetDlgItemInt in unsigned mode: spaces before the number
    // skipped, digits read up to the first other character, no sign examined (a
    // sign is no digit), a number beyond 32 bits is none.
    const std::pair<const char*, UINT> cases[] = {
        {"15", 15}, {"  15", 15}, {"15 ", 15}, {"15abc", 15}, {"abc", 0}, {"", 0}, {"0", 0},
        {"4294967295", 4294967295u}, {"4294967296", 0}, {"99999999999", 0}, {"-3", 0}, {"+7", 0},
        {"000000000000000000000000000017", 17},
    };
    for (const auto& c : cases) {
        type(c.first);
        EXPECT_EQ(windows.GetItemNumber(window, editId), c.second) << '"' << c.first << '"';
    }
}
