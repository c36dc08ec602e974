// The find-game window with the real Win32 adapters under Wine, on drives of
// several kinds (tools/wine_prefix.sh, map_test_drives): the search finds the
// copy on the fixed drive, goes on to "Not found" through a directory that
// contains itself, never reports the CD-ROM's copy, and OK hands the directory back.
#include <algorithm>
#include <iostream>
#include <set>
#include "scenario.h"

namespace {

const char kFound[] = "D:\\Games\\Sub\\Deep\\Drifthaven";

// Polls the status line until it shows one of the ends; every text it showed.
std::set<std::string> WatchUntil(HWND window, const std::set<std::string>& ends, DWORD milliseconds,
                                 std::string& last) {
    std::set<std::string> seen;
    const DWORD start = GetTickCount();
    do {
        last = ItemText(window, 1006);
        seen.insert(last);
        if (ends.count(last) != 0) break;
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
    return seen;
}

TEST(FindGameWindow, SearchesTheFixedDrivesAndHandsBackTheDirectory) {
    const std::string output = "C:\\e2e\\finder.txt";
    CreateDirectoryA("C:\\e2e", nullptr);
    DeleteFileA(output.c_str());
    Program program;
    ASSERT_TRUE(Start(std::string(kTools) + "\\finder_probe.exe", output, program));
    HWND window = WaitForDialog(program, "Find Drifthaven", kWait);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ItemText(window, 1006), "Ready");
    EXPECT_EQ(ItemText(window, 1005), "Start Search");

    Click(window, 1005);
    std::string last;
    WatchUntil(window, {"Found", "Not found"}, 60000, last);
    EXPECT_EQ(last, "Found");
    EXPECT_EQ(ItemText(window, 1004), kFound);
    EXPECT_EQ(ItemText(window, 1005), "Continue Search");

    const DWORD start = GetTickCount();
    Click(window, 1005);
    const std::set<std::string> seen = WatchUntil(window, {"Found", "Not found"}, 600000, last);
    const DWORD took = GetTickCount() - start;
    EXPECT_EQ(last, "Not found");
    for (const std::string& status : seen) EXPECT_NE(status.rfind("F:", 0), 0u) << status;
    EXPECT_EQ(ItemText(window, 1004), kFound);
    EXPECT_EQ(ItemText(window, 1005), "Start Search");
    // The search went down the loop until the path could not be looked up any more.
    size_t deepest = 0;
    for (const std::string& status : seen)
        if (status.rfind("E:\\loop", 0) == 0) deepest = std::max(deepest, status.size());
    EXPECT_GT(deepest, std::string("E:\\loop\\again\\again\\again").size());
    std::cout << "[ MEASURED ] from \"Found\" through E: and its self-containing directory to \"Not found\": "
              << took << " ms; the deepest path shown had " << deepest << " characters\n";

    Click(window, IDOK);
    EXPECT_TRUE(WaitForEnd(program, kWait));
    EXPECT_EQ(ReadWholeFile(output), "result=1 path=" + std::string(kFound) + "\n");
}

}  // namespace
