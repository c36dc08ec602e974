// The disk search on simulated drives: the order of its walk, what it reports,
// the drives it skips, failing lookups, the directory calls of each step, and
// every lookup closed however it ends.
#include <gtest/gtest.h>
#include <memory>
#include "finder/disk_search.h"
#include "platform/sim/sim_files.h"

namespace {

// A machine with a game on C:, in the root of E: and Z:, copies on drives that are
// not fixed, and drives of every kind; A: and Z: are fixed, so the walk's ends show.
void Arrange(SimFiles& files) {
    files.AddVolume('A', DRIVE_FIXED);
    files.AddVolume('B', DRIVE_REMOVABLE);
    files.AddFile("B:\\Drifthvn.exe", "");
    files.AddVolume('C', DRIVE_FIXED);
    files.AddFile("C:\\notes.txt", "");
    files.AddFile("C:\\Games\\Drifthaven\\Drifthvn.exe", "");
    files.AddDirectory("C:\\Games\\Drifthaven\\sub");
    files.AddDirectory("C:\\a\\b");
    files.AddDirectory("C:\\a\\Drifthvn.exe");  // a directory of that name is no match
    files.AddVolume('D', DRIVE_CDROM);
    files.AddFile("D:\\Drifthvn.exe", "");
    files.AddVolume('E', DRIVE_FIXED);
    files.AddFile("E:\\Drifthvn.exe", "");
    files.AddVolume('F', DRIVE_REMOTE);
    files.AddFile("F:\\Drifthvn.exe", "");
    files.AddVolume('G', DRIVE_RAMDISK);
    files.AddFile("G:\\Drifthvn.exe", "");
    files.AddVolume('H', DRIVE_FIXED);
    files.AddVolume('Y', DRIVE_UNKNOWN);
    files.AddFile("Y:\\Drifthvn.exe", "");
    files.AddVolume('Z', DRIVE_FIXED);
    files.AddFile("Z:\\Drifthvn.exe", "");
}

const char kWalk[] =
    "progress A:\nprogress C:\nprogress C:\\Games\nfound C:\\Games\\Drifthaven\nprogress C:\\Games\\Drifthaven\\sub\n"
    "progress C:\\a\nprogress C:\\a\\b\nprogress C:\\a\\Drifthvn.exe\nfound E:\nprogress H:\nfound Z:\nexhausted\n";

// What a search reports until it is exhausted, one line a report; the steps taken.
std::string Reports(DirectorySearch& search, int* steps = nullptr) {
    std::string reports;
    std::string status;
    for (int step = 1; step <= 100000; ++step) {
        const int result = search.Step(status);
        if (result == SEARCH_PROGRESS) reports += "progress " + status + "\n";
        if (result == SEARCH_FOUND) reports += "found " + status + "\n";
        if (result == SEARCH_EXHAUSTED) {
            if (steps != nullptr) *steps = step;
            return reports + "exhausted\n";
        }
    }
    return reports + "no end\n";
}

TEST(DiskSearch, WalksEveryFixedDriveDepthFirstAndStartsAgainAfterClose) {
    SimFiles files;
    Arrange(files);
    DiskSearch search(files, "Drifthvn.exe");
    EXPECT_EQ(Reports(search), kWalk);
    std::string status = "unchanged";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(search.Step(status), SEARCH_EXHAUSTED);
    EXPECT_EQ(status, "unchanged");
    search.Close();
    EXPECT_EQ(Reports(search), kWalk);
    EXPECT_EQ(files.OpenHandles(), 0);
}

// Closed or destroyed at any point, the search releases its whole chain of
// lookups; after Close it starts again at drive A.
TEST(DiskSearch, ReleasesEveryLookupWhenClosedOrDestroyedMidway) {
    SimFiles files;
    Arrange(files);
    std::string status;
    for (int steps = 1; steps < 40; ++steps) {
        SCOPED_TRACE(steps);
        auto search = std::make_unique<DiskSearch>(files, "Drifthvn.exe");
        for (int i = 0; i < steps; ++i) search->Step(status);
        search->Close();
        ASSERT_EQ(files.OpenHandles(), 0);
        EXPECT_EQ(Reports(*search), kWalk);
        search->Close();
        for (int i = 0; i < steps; ++i) search->Step(status);
        search.reset();
        ASSERT_EQ(files.OpenHandles(), 0);
    }
}

// One piece of work a step, with at most one directory lookup or listing call:
// F a lookup begun, N the next entry, E a lookup ended, - no call.
TEST(DiskSearch, MakesOneDirectoryCallAStepAndOneStepAFile) {
    SimFiles files;
    files.AddVolume('C', DRIVE_FIXED);
    files.AddFile("C:\\Drifthvn.exe", "");
    files.AddFile("C:\\f1", "");
    files.AddDirectory("C:\\d");
    files.AddFile("C:\\f2", "");
    std::string calls;
    files.inject = [&](FileOp op, const std::string&) {
        calls += op == FileOp::FindFirst ? "F" : op == FileOp::FindNext ? "N" : op == FileOp::FindClose ? "E" : "?";
        return FileFault{};
    };
    DiskSearch search(files, "Drifthvn.exe");
    std::string status, steps;
    while (search.Step(status) != SEARCH_EXHAUSTED) {
        steps += (calls.empty() ? "-" : calls) + " ";
        calls.clear();
    }
    EXPECT_EQ(steps + calls, "- F NE F N N F F N NE N NE ");
}

TEST(DiskSearch, PassesOverDirectoriesWhoseLookupsFail) {
    struct {
        const char* name;
        FileOp op;
        const char* path;
        const char* walk;
    } cases[] = {
        {"target lookup refused", FileOp::FindFirst, "C:\\Games\\Drifthaven\\Drifthvn.exe",
         "progress A:\nprogress C:\nprogress C:\\Games\nprogress C:\\Games\\Drifthaven\n"
         "progress C:\\Games\\Drifthaven\\sub\nprogress C:\\a\nprogress C:\\a\\b\nprogress C:\\a\\Drifthvn.exe\n"
         "found E:\nprogress H:\nfound Z:\nexhausted\n"},
        {"listing refused", FileOp::FindFirst, "C:\\Games\\*",
         "progress A:\nprogress C:\nprogress C:\\Games\nprogress C:\\a\nprogress C:\\a\\b\n"
         "progress C:\\a\\Drifthvn.exe\nfound E:\nprogress H:\nfound Z:\nexhausted\n"},
        {"listing broken off", FileOp::FindNext, "C:\\*",
         "progress A:\nprogress C:\nfound E:\nprogress H:\nfound Z:\nexhausted\n"},
    };
    for (const auto& c : cases) {
        SimFiles files;
        Arrange(files);
        files.inject = [&](FileOp op, const std::string& path) {
            FileFault fault;
            fault.fail = op == c.op && path == c.path;
            fault.error = ERROR_ACCESS_DENIED;
            return fault;
        };
        DiskSearch search(files, "Drifthvn.exe");
        EXPECT_EQ(Reports(search), c.walk) << c.name;
        EXPECT_EQ(files.OpenHandles(), 0) << c.name;
    }
}

// Links are passed over, however they are woven: the walk ends after a step for
// each entry, and what lies behind them is found where it really lies.
TEST(DiskSearch, PassesOverLinksSoThatWebsOfThemEndTheWalk) {
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> links;  // entry, where it leads
        int steps;  // one for each link, as for a file
    } cases[] = {
        {"no links", {}, 31},
        {"back to a parent", {{"C:\\web\\a\\up", "C:\\web"}}, 32},
        {"to the root", {{"C:\\web\\a\\root", "C:\\"}}, 32},
        {"a web", {{"C:\\web\\a\\b", "C:\\web\\b"}, {"C:\\web\\b\\a", "C:\\web\\a"}, {"C:\\web\\b\\self", "C:\\web\\b"},
                   {"C:\\web\\a\\top", "C:\\web"}, {"C:\\web\\a\\game", "C:\\z\\Game"}}, 36},
    };
    for (const auto& c : cases) {
        SimFiles files;
        files.AddVolume('C', DRIVE_FIXED);
        files.AddDirectory("C:\\web\\a");
        files.AddDirectory("C:\\web\\b");
        files.AddFile("C:\\z\\Game\\Drifthvn.exe", "");  // after the web in the walk's order
        for (const auto& link : c.links) files.AddLink(link.first, link.second);
        DiskSearch search(files, "Drifthvn.exe");
        int steps = 0;
        EXPECT_EQ(Reports(search, &steps),
                  "progress C:\nprogress C:\\web\nprogress C:\\web\\a\nprogress C:\\web\\b\nprogress C:\\z\n"
                  "found C:\\z\\Game\nexhausted\n")
            << c.name;
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_EQ(files.OpenHandles(), 0) << c.name;
    }
    // A game's executable that is itself a link is still found.
    SimFiles files;
    files.AddVolume('C', DRIVE_FIXED);
    files.AddFile("C:\\store\\game.exe", "MZ");
    files.AddLink("C:\\Game\\Drifthvn.exe", "C:\\store\\game.exe");
    DiskSearch search(files, "Drifthvn.exe");
    EXPECT_EQ(Reports(search), "progress C:\nprogress C:\\store\nfound C:\\Game\nexhausted\n");
}

}  // namespace
