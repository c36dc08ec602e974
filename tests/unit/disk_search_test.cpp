// The disk search on simulated drives: the order of its walk, what it reports,
// the drives it skips, failing lookups, one directory call per step, and every
// lookup closed however it ends.
#include <gtest/gtest.h>
#include <memory>
#include "finder/disk_search.h"
#include "platform/sim/sim_files.h"

namespace {

// A machine with a game on C:, another copy on a CD-ROM, one in the root of E:,
// and drives of every kind.
void Arrange(SimFiles& files) {
    files.AddVolume('A', DRIVE_REMOVABLE);
    files.AddFile("A:\\Drifthvn.exe", "");
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
    files.AddVolume('Z', DRIVE_UNKNOWN);
}

// What a search reports until it is exhausted, one line a report; the steps taken.
std::string Reports(DirectorySearch& search, int* steps = nullptr, int limit = 100000) {
    std::string reports;
    std::string status;
    for (int step = 1; step <= limit; ++step) {
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


TEST(DiskSearch, WalksEveryFixedDriveDepthFirstInTheEnumerationsOrder) {

    SimFiles files;
    Arrange(files);
    DiskSearch search(files, "Drifthvn.exe");
    const std::string walk =
        "progress C:\n"
        "progress C:\\Games\n"
        "found C:\\Games\\Drifthaven\n"
        "progress C:\\Games\\Drifthaven\\sub\n"
        "progress C:\\a\n"
        "progress C:\\a\\b\n"
        "progress C:\\a\\Drifthvn.exe\n"
        "found E:\n"
        "progress H:\n"
        "exhausted\n";
    EXPECT_EQ(Reports(search), walk);
    std::string status = "unchanged";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(search.Step(status), SEARCH_EXHAUSTED);
    EXPECT_EQ(status, "unchanged");
    // Close starts again at drive A.
    search.Close();
    EXPECT_EQ(Reports(search), walk);
    EXPECT_EQ(files.OpenHandles(), 0);
}

TEST(DiskSearch, WithoutAFixedDriveIsExhaustedAtOnce) {
    SimFiles files;
    files.AddVolume('D', DRIVE_CDROM);
    files.AddFile("D:\\Drifthvn.exe", "");
    DiskSearch search(files, "Drifthvn.exe");
    std::string status;
    EXPECT_EQ(search.Step(status), SEARCH_EXHAUSTED);
}

TEST(DiskSearch, MakesAtMostOneDirectoryCallAStep) {
    SimFiles files;
    Arrange(files);
    int calls = 0;
    files.inject = [&](FileOp op, const std::string&) {
        if (op == FileOp::FindFirst || op == FileOp::FindNext) ++calls;
        return FileFault{};
    };
    DiskSearch search(files, "Drifthvn.exe");
    std::string status;
    int result = SEARCH_CONTINUE;
    while (result != SEARCH_EXHAUSTED) {
        calls = 0;
        result = search.Step(status);
        ASSERT_LE(calls, 1) << status;
    }
}

TEST(DiskSearch, TakesOneStepPerFile) {
    int steps[2] = {};
    for (int files = 0; files < 2; ++files) {
        SimFiles sim;
        sim.AddVolume('C', DRIVE_FIXED);
        for (int i = 0; i < 10 + 30 * files; ++i) sim.AddFile("C:\\many\\f" + std::to_string(i), "");
        DiskSearch search(sim, "Drifthvn.exe");
        Reports(search, &steps[files]);
    }
    EXPECT_EQ(steps[1] - steps[0], 30);
}

TEST(DiskSearch, PassesOverDirectoriesWhoseLookupsFail) {
    struct {
        const char* name;
        FileOp op;
        const char* path;
        const char* walk;
    } cases[] = {
        {"target lookup refused", FileOp::FindFirst, "C:\\Games\\Drifthaven\\Drifthvn.exe",
         "progress C:\nprogress C:\\Games\nprogress C:\\Games\\Drifthaven\nprogress C:\\Games\\Drifthaven\\sub\n"
         "progress C:\\a\nprogress C:\\a\\b\nprogress C:\\a\\Drifthvn.exe\nfound E:\nprogress H:\nexhausted\n"},
        {"listing refused", FileOp::FindFirst, "C:\\Games\\*",
         "progress C:\nprogress C:\\Games\nprogress C:\\a\nprogress C:\\a\\b\nprogress C:\\a\\Drifthvn.exe\n"
         "found E:\nprogress H:\nexhausted\n"},
        {"listing broken off", FileOp::FindNext, "C:\\*",
         "progress C:\nfound E:\nprogress H:\nexhausted\n"},
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

TEST(DiskSearch, ClosesEveryLookupOfItsChainWhenDestroyedMidway) {
    SimFiles files;
    Arrange(files);
    files.AddDirectory("C:\\a\\b\\c\\d\\e");
    for (int steps = 1; steps < 40; ++steps) {
        auto search = std::make_unique<DiskSearch>(files, "Drifthvn.exe");
        std::string status;
        for (int i = 0; i < steps; ++i) search->Step(status);
        search.reset();
        ASSERT_EQ(files.OpenHandles(), 0) << steps;
    }
}

TEST(DiskSearch, ADirectoryThatContainsItselfEndsWhenThePathGrowsTooLong) {
    SimFiles files;
    files.AddVolume('C', DRIVE_FIXED);
    files.AddDirectory("C:\\loop");
    files.AddLink("C:\\loop\\again", "C:\\loop");
    files.AddFile("C:\\z\\Drifthvn.exe", "");
    DiskSearch search(files, "Drifthvn.exe");
    int steps = 0;
    const std::string reports = Reports(search, &steps);
    EXPECT_NE(reports.find("found C:\\z\n"), std::string::npos);
    EXPECT_NE(reports.find("exhausted"), std::string::npos);
    // It went as deep as a lookup accepts: a path of under MAX_PATH characters.
    const size_t deepest = reports.rfind("progress C:\\loop");
    const std::string line = reports.substr(deepest, reports.find('\n', deepest) - deepest);
    EXPECT_GT(line.size(), 200u);
    EXPECT_LT(line.size(), static_cast<size_t>(MAX_PATH) + 9);
    EXPECT_LT(steps, 1000);
    EXPECT_EQ(files.OpenHandles(), 0);
}

}  // namespace
