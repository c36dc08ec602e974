// The disk search on simulated drives: the order of its walk, what it reports,
// the drives it skips, failing lookups, the directory calls of each step, and
// every lookup closed however it ends.
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "finder/disk_search.h"
#include "platform/sim/sim_files.h"

namespace {

// Puts entries on existing drives in the order they are listed: files, directories
// with a trailing backslash, and "path>target" links.
void Lay(SimFiles& files, const std::vector<std::string>& entries) {
    for (const std::string& entry : entries) {
        const size_t link = entry.find('>');
        if (link != std::string::npos) files.AddLink(entry.substr(0, link), entry.substr(link + 1));
        else if (entry.back() == '\\') files.AddDirectory(entry.substr(0, entry.size() - 1));
        else files.AddFile(entry, "");
    }
}

// A machine with a game on C:, in the root of E: and Z:, copies on drives that are
// not fixed, and drives of every kind; A: and Z: are fixed, so the walk's ends show.
void Arrange(SimFiles& files) {
    for (const char drive : std::string("ACEHZ")) files.AddVolume(drive, DRIVE_FIXED);
    const std::pair<char, UINT> others[] = {{'B', DRIVE_REMOVABLE}, {'D', DRIVE_CDROM}, {'F', DRIVE_REMOTE},
                                            {'G', DRIVE_RAMDISK}, {'Y', DRIVE_UNKNOWN}};
    for (const auto& drive : others) files.AddVolume(drive.first, drive.second);
    for (const char drive : std::string("BDEFGYZ")) files.AddFile(std::string(1, drive) + ":\\Drifthvn.exe", "");
    // A directory of the game's name is no match.
    Lay(files, {"C:\\notes.txt", "C:\\Games\\Drifthaven\\Drifthvn.exe", "C:\\Games\\Drifthaven\\sub\\", "C:\\a\\b\\",
                "C:\\a\\Drifthvn.exe\\"});
}

// The walk from C:\a on, and the whole walk; a report each: a path in progress, a
// found one with *, and the end.
const std::string kRest = "C:\\a C:\\a\\b C:\\a\\Drifthvn.exe *E: H: *Z: end";
const std::string kWalk = "A: C: C:\\Games *C:\\Games\\Drifthaven C:\\Games\\Drifthaven\\sub " + kRest;

// What a search reports until it is exhausted.
std::string Reports(DirectorySearch& search) {
    std::string reports, status;
    for (int step = 1; step <= 100000; ++step) {
        const int result = search.Step(status);
        if (result == SEARCH_PROGRESS) reports += status + " ";
        if (result == SEARCH_FOUND) reports += "*" + status + " ";
        if (result == SEARCH_EXHAUSTED) return reports + "end";
    }
    return reports + "no end";
}

// Every fixed drive is walked depth first; a directory whose lookup fails is
// passed over. At its end the search stays exhausted. Closed or destroyed at any
// point, also after its end, the search releases its whole chain of lookups;
// after Close it starts again at drive A.
TEST(DiskSearch, WalksEveryFixedDrivePassingOverFailedLookupsAndReleasesEveryLookupWhenClosedOrDestroyed) {
    const struct { const char* name; FileOp op; const char* path; std::string walk; } cases[] = {
        {"no failure", FileOp::Open, "", kWalk},
        {"target lookup refused", FileOp::FindFirst, "C:\\Games\\Drifthaven\\Drifthvn.exe",
         "A: C: C:\\Games C:\\Games\\Drifthaven C:\\Games\\Drifthaven\\sub " + kRest},
        {"listing refused", FileOp::FindFirst, "C:\\Games\\*", "A: C: C:\\Games " + kRest},
        {"listing broken off", FileOp::FindNext, "C:\\*", "A: C: *E: H: *Z: end"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimFiles files;
        Arrange(files);
        files.inject = [&](FileOp op, const std::string& path) {
            return FileFault{op == c.op && path == c.path, ERROR_ACCESS_DENIED};
        };
        DiskSearch search(files, "Drifthvn.exe");
        EXPECT_EQ(Reports(search), c.walk);
        std::string status = "unchanged";
        for (int i = 0; i < 3; ++i) EXPECT_EQ(search.Step(status), SEARCH_EXHAUSTED);
        EXPECT_EQ(status, "unchanged");
        EXPECT_EQ(files.OpenHandles(), 0);
        for (int steps = 1; steps <= 56; ++steps) {  // the whole walk takes at most 54
            SCOPED_TRACE(steps);
            auto stopped = std::make_unique<DiskSearch>(files, "Drifthvn.exe");
            for (int i = 0; i < steps; ++i) stopped->Step(status);
            stopped->Close();
            ASSERT_EQ(files.OpenHandles(), 0);
            EXPECT_EQ(Reports(*stopped), c.walk);
            stopped->Close();
            for (int i = 0; i < steps; ++i) stopped->Step(status);
            stopped.reset();
            ASSERT_EQ(files.OpenHandles(), 0);
        }
    }
}

// Links are passed over, however they are woven: the walk ends after a step for
// each entry, and what lies behind them is found where it really lies; a game's
// executable that is itself a link is still found. One piece of work a step, with
// at most one directory lookup or listing call: F a lookup begun, N the next
// entry, E a lookup ended, - no call.
TEST(DiskSearch, MakesOneDirectoryCallAStepAndPassesOverLinksSoThatWebsOfThemEndTheWalk) {
    // The steps before the end: one more for each link, as for a file.
    const struct { const char* name; std::vector<std::string> links; int steps; } cases[] = {
        {"no links", {}, 43},
        {"back to a parent", {"C:\\web\\a\\up>C:\\web"}, 44},
        {"to the root", {"C:\\web\\a\\root>C:\\"}, 44},
        {"a web", {"C:\\web\\a\\b>C:\\web\\b", "C:\\web\\b\\a>C:\\web\\a", "C:\\web\\b\\self>C:\\web\\b",
                   "C:\\web\\a\\top>C:\\web", "C:\\web\\a\\game>C:\\z\\Game"}, 48},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimFiles files;
        files.AddVolume('C', DRIVE_FIXED);
        // The game lies after the web in the walk's order.
        Lay(files, {"C:\\web\\a\\", "C:\\web\\b\\", "C:\\z\\Game\\Drifthvn.exe", "C:\\lib\\game.exe",
                    "C:\\Link\\Drifthvn.exe>C:\\lib\\game.exe"});
        Lay(files, c.links);
        std::string calls, steps, status;
        files.inject = [&](FileOp op, const std::string&) {
            calls += op == FileOp::FindFirst ? "F" : op == FileOp::FindNext ? "N" : op == FileOp::FindClose ? "E" : "?";
            return FileFault{};
        };
        DiskSearch search(files, "Drifthvn.exe");
        ASSERT_EQ(Reports(search), "C: C:\\web C:\\web\\a C:\\web\\b C:\\z *C:\\z\\Game C:\\lib *C:\\Link end");
        EXPECT_EQ(files.OpenHandles(), 0);
        search.Close();
        for (calls.clear(); search.Step(status) != SEARCH_EXHAUSTED; calls.clear())
            steps += (calls.empty() ? "-" : calls) + " ";
        EXPECT_EQ(std::count(steps.begin(), steps.end(), ' '), c.steps);
        if (c.links.empty()) {
            EXPECT_EQ(steps, "- F F F F N N F F N NE N F F N NE NE N F F N N F NE F N N NE NE N F F N N NE N F NE F N "
                             "N NE NE ");
        }
    }
}

}  // namespace
