// Loading, saving and closing flux.ini and defaults.ini in the simulated Windows:
// every failure of open, read, seek, write and truncate, with the message shown
// and the state left behind. A failed save leaves the file's original bytes.
// No launcher window is open here, so the boxes have no owner.
#include <gtest/gtest.h>
#include <map>
#include "sim_game.h"

namespace {

const std::string kFlux = "C:\\Game\\flux.ini";
const std::string kDefaults = "C:\\Game\\defaults.ini";
// The largest settings file the launchers read.
const size_t kLargest = 64 << 20;
// 513 bytes: read in blocks of 256, the fourth read finds the end.
const std::string kOriginal = "; options\r\n[icGame]\r\n" + std::string(490, 'o') + "\r\n";

class SettingsFiles : public ::testing::Test {
protected:
    SettingsFiles() {
        sim.files.AddVolume('C', DRIVE_FIXED);
        sim.files.AddDirectory("C:\\Game");
        launcher.m_strInstallPath = "C:\\Game";
        launcher.m_strTitle = "Title";
    }
    // The op's n-th call (counted from 1) fails; with always, every later one too.
    void Fail(FileOp op, int call, bool always = false, DWORD limit = 0xFFFFFFFF, bool error = true) {
        sim.files.inject = [=, counts = std::map<FileOp, int>()](FileOp made, const std::string&) mutable {
            const int count = ++counts[made];
            const bool hit = made == op && (count == call || (always && count > call));
            return hit ? FileFault{error, ERROR_DISK_FULL, limit} : FileFault{};
        };
    }

    SimPlatform sim{{}};
    LauncherApp app{sim.platform, ValkorProfile()};
    LauncherDialog launcher{sim.platform, ValkorProfile(), app, nullptr};
};

// Both files are opened unshared, sequentially and not inherited by the game.
TEST_F(SettingsFiles, LoadKeepsFluxOpenUnsharedUntilClosedAndSaveRewritesItInPlace) {
    const std::string rest = " share 0 security " + std::to_string(sizeof(SECURITY_ATTRIBUTES)) +
                             ",null,0 disposition 3 flags 0x8000080";
    sim.files.AddFile(kDefaults, kOriginal);
    SettingsFile defaults("old");
    ASSERT_TRUE(launcher.LoadDefaultsFile(defaults));
    EXPECT_EQ(defaults.Text(), kOriginal);
    EXPECT_EQ(sim.files.opens.back(), kDefaults + " access 0x80000000" + rest);
    for (const std::string& text : {std::string("short"), kOriginal, kOriginal + kOriginal}) {
        sim.files.AddFile(kFlux, kOriginal);
        SettingsFile loaded("old");
        ASSERT_TRUE(launcher.LoadSettingsFile(loaded));
        EXPECT_EQ(loaded.Text(), kOriginal);
        EXPECT_EQ(sim.files.opens.back(), kFlux + " access 0xc0000000" + rest);
        if (text.size() <= kOriginal.size()) Fail(FileOp::Seek, 2);  // only a longer text grows the file first
        EXPECT_TRUE(launcher.SaveSettingsFile(SettingsFile(text)));
        sim.files.inject = nullptr;
        EXPECT_EQ(sim.files.Content(kFlux), text);
        launcher.CloseSettingsFile();
        EXPECT_EQ(launcher.m_hSettingsFile, nullptr);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
    }
    // The smallest and the largest settings file (64 MiB), both read whole.
    for (const std::string& content : {std::string(), std::string(kLargest, 'x')}) {
        sim.files.AddFile(kFlux, content);
        SettingsFile loaded("old");
        ASSERT_TRUE(launcher.LoadSettingsFile(loaded));
        EXPECT_EQ(loaded.size(), content.size());
        launcher.CloseSettingsFile();
    }
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());
}

TEST_F(SettingsFiles, AFailedLoadSaysWhichFileAndLeavesNothingOpen) {
    // A damaged file: larger than any settings file, as a file of zeros after the settings.
    const std::string huge = kOriginal + std::string(kLargest + 1 - kOriginal.size(), '\0');
    // Which file, whether it is there (with what), held by another program, the read that fails (0 none), the message.
    const struct { const char* name; bool defaults, present, held; int failingRead; const char* message;
                   const std::string* content = &kOriginal; } cases[] = {
        {"flux missing", false, false, false, 0, "Error opening the file flux.ini."},
        {"flux held by another program", false, true, true, 0, "Error opening the file flux.ini."},
        {"flux unreadable", false, true, false, 2, "Error loading flux.ini."},
        {"flux larger than a settings file can be", false, true, false, 0, "Error loading flux.ini.", &huge},
        {"defaults missing", true, false, false, 0, "Error opening the file defaults.ini."},
        {"defaults held by another program", true, true, true, 0, "Error opening the file defaults.ini."},
        {"defaults unreadable at its end", true, true, false, 4, "Error loading defaults.ini."},
        {"defaults larger than a settings file can be", true, true, false, 0, "Error loading defaults.ini.", &huge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files.inject = nullptr;
        const std::string path = c.defaults ? kDefaults : kFlux;
        if (c.present) sim.files.AddFile(path, *c.content);
        if (c.held)  // by another program, without sharing
            sim.files.inject = [](FileOp op, auto&) { return FileFault{op == FileOp::Open, ERROR_SHARING_VIOLATION}; };
        if (c.failingRead != 0) Fail(FileOp::Read, c.failingRead);
        sim.windows.ExpectMessageBox(IDOK);
        SettingsFile text;
        const size_t before = sim.windows.MessageBoxes().size();
        EXPECT_FALSE(c.defaults ? launcher.LoadDefaultsFile(text) : launcher.LoadSettingsFile(text));
        EXPECT_EQ(Boxes(sim, before), c.message + std::string("|Title|16|unowned\n"));
        EXPECT_EQ(launcher.m_hSettingsFile, nullptr);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
        EXPECT_EQ(sim.files.Content(path), c.present ? *c.content : "");
    }
}

TEST_F(SettingsFiles, AFailedSaveLeavesTheOriginalBytesAndTheFileOpen) {
    const std::string longer = kOriginal + std::string(900, 'n');
    const std::string shorter = "; short\r\n";
    // The text saved, and the op whose call-th call fails (always: and every later one), moving at most limit
    // bytes first, with or without an error.
    const struct { const char* name; std::string text; FileOp op; int call; bool always = false;
                   DWORD limit = 0xFFFFFFFF; bool error = true; } cases[] = {
        {"seek refused", shorter, FileOp::Seek, 1},
        {"seek refused before a longer text", longer, FileOp::Seek, 1},
        {"growing refused by a full disk", longer, FileOp::Truncate, 1, true},
        {"seeking to the new end refused", longer, FileOp::Seek, 2},
        {"short write of a longer text", longer, FileOp::Write, 1, false, 100, false},
        {"failed write of a shorter text", shorter, FileOp::Write, 1, false, 4},
        {"truncation failing once", shorter, FileOp::Truncate, 1},
        {"truncation failing for good", shorter, FileOp::Truncate, 1, true},
        {"truncation failing after growing", longer, FileOp::Truncate, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files.inject = nullptr;
        sim.files.AddFile(kFlux, kOriginal);
        SettingsFile loaded;
        ASSERT_TRUE(launcher.LoadSettingsFile(loaded));
        Fail(c.op, c.call, c.always, c.limit, c.error);
        sim.windows.ExpectMessageBox(IDOK);
        const size_t before = sim.windows.MessageBoxes().size();
        EXPECT_FALSE(launcher.SaveSettingsFile(SettingsFile(c.text)));
        sim.files.inject = nullptr;
        EXPECT_EQ(Boxes(sim, before), "Error saving flux.ini.|Title|16|unowned\n");
        EXPECT_EQ(sim.files.Content(kFlux), kOriginal);
        EXPECT_NE(launcher.m_hSettingsFile, nullptr);
        launcher.CloseSettingsFile();
        EXPECT_EQ(sim.files.OpenHandles(), 0);
    }
    // A second save that fails puts back what the first one wrote.
    sim.files.AddFile(kFlux, kOriginal);
    SettingsFile loaded;
    ASSERT_TRUE(launcher.LoadSettingsFile(loaded));
    ASSERT_TRUE(launcher.SaveSettingsFile(SettingsFile(shorter)));
    Fail(FileOp::Write, 1, false, 4);
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_FALSE(launcher.SaveSettingsFile(SettingsFile(longer)));
    sim.files.inject = nullptr;
    EXPECT_EQ(sim.files.Content(kFlux), shorter);
    launcher.CloseSettingsFile();
}

}  // namespace
