// Loading, saving and closing flux.ini and defaults.ini in the simulated Windows:
// every failure of open, read, seek, write and truncate, with the message shown
// and the state left behind. A failed save leaves the file's original bytes.
// No launcher window is open here, so the boxes have no owner. And the two
// patches on the movie lists' edge cases, run by the launcher's Play (the
// end-to-end scenarios patch the sample installation).
#include <gtest/gtest.h>
#include <climits>
#include <map>
#include <set>
#include "failing_allocation.h"
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
    // The op's n-th call (counted from 1) fails; with always, every later one too; 0: none.
    void Fail(FileOp op, int call, bool always = false, DWORD limit = 0xFFFFFFFF, bool error = true) {
        sim.files.inject = [=, counts = std::map<FileOp, int>()](FileOp made, const std::string&) mutable {
            const int count = ++counts[made];
            const bool hit = made == op && (count == call || (always && count > call));
            // The one open that fails here is another program's hold on the file.
            return hit ? FileFault{error, DWORD(op == FileOp::Open ? ERROR_SHARING_VIOLATION : ERROR_DISK_FULL), limit}
                       : FileFault{};
        };
    }
    // Runs the program's patch as Play does; its result. With failAt, the
    // patch's failAt-th allocation fails, and allocations is how many it made.
    BOOL Patch(const Profile& profile, long failAt = 0, long* allocations = nullptr) {
        LauncherApp patchApp(sim.platform, profile);
        LauncherDialog patcher(sim.platform, profile, patchApp, nullptr);
        patcher.m_strInstallPath = "C:\\Game";
        patcher.m_strTitle = "Title";
        g_allocationsBeforeFailure = failAt;
        const BOOL patched = patcher.PatchSettings();
        if (allocations != nullptr) *allocations = failAt - g_allocationsBeforeFailure;
        g_allocationsBeforeFailure = 0;
        EXPECT_EQ(patcher.m_hSettingsFile, nullptr);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
        return patched;
    }
    // flux.ini after the program's patch, with defaults.ini beside it.
    std::string Patched(const Profile& profile, const std::string& flux, const std::string& defaults = "") {
        sim.files.AddFile(kFlux, flux);
        sim.files.AddFile(kDefaults, defaults);
        EXPECT_TRUE(Patch(profile));
        return sim.files.Content(kFlux);
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
    // A shorter text saved over the largest settings file (64 MiB), one as long, a
    // longer one over the smallest; each read whole.
    const std::pair<std::string, std::string> saves[] = {
        {std::string(kLargest, 'x'), "short"}, {kOriginal, kOriginal}, {"", kOriginal + kOriginal}};
    for (const auto& [content, text] : saves) {
        sim.files.AddFile(kFlux, content);
        SettingsFile loaded("old");
        ASSERT_TRUE(launcher.LoadSettingsFile(loaded));
        EXPECT_EQ(loaded.Text(), content);
        EXPECT_EQ(sim.files.opens.back(), kFlux + " access 0xc0000000" + rest);
        if (text.size() <= content.size()) Fail(FileOp::Seek, 2);  // only a longer text grows the file first
        EXPECT_TRUE(launcher.SaveSettingsFile(SettingsFile(text)));
        sim.files.inject = nullptr;
        EXPECT_EQ(sim.files.Content(kFlux), text);
        launcher.CloseSettingsFile();
        EXPECT_EQ(launcher.m_hSettingsFile, nullptr);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
    }
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());
}

// A failed load says which file and leaves nothing open; a failed save leaves the
// file's original bytes (or a save before it, the bytes that save wrote) and flux.ini open.
TEST_F(SettingsFiles, AFailureSaysWhichFileAndLeavesTheBytesAsTheyWere) {
    // A damaged file: larger than any settings file, as a file of zeros after the settings.
    const std::string huge = kOriginal + std::string(kLargest + 1 - kOriginal.size(), '\0');
    const std::string longer = kOriginal + std::string(900, 'n');
    const std::string shorter = "; short\r\n";
    const std::string saving = "Error saving flux.ini.";
    // The file and what it holds (nullptr: missing); for a save, the text saved (after a save of first);
    // the op whose call-th call fails (0: none; always: and every later one), moving at most limit bytes
    // first, with or without an error; the message.
    const struct { const char* name; bool defaults; const std::string* content; const char* save; FileOp op;
                   int call; std::string message; bool always = false; DWORD limit = 0xFFFFFFFF; bool error = true;
                   const char* first = nullptr; } cases[] = {
        {"flux missing", false, nullptr, nullptr, FileOp::Open, 0, "Error opening the file flux.ini."},
        {"flux held by another program", false, &kOriginal, nullptr, FileOp::Open, 1,
         "Error opening the file flux.ini."},
        {"flux unreadable", false, &kOriginal, nullptr, FileOp::Read, 2, "Error loading flux.ini."},
        {"flux larger than a settings file can be", false, &huge, nullptr, FileOp::Open, 0, "Error loading flux.ini."},
        {"defaults missing", true, nullptr, nullptr, FileOp::Open, 0, "Error opening the file defaults.ini."},
        {"defaults held by another program", true, &kOriginal, nullptr, FileOp::Open, 1,
         "Error opening the file defaults.ini."},
        {"defaults unreadable at its end", true, &kOriginal, nullptr, FileOp::Read, 4, "Error loading defaults.ini."},
        {"defaults larger than a settings file can be", true, &huge, nullptr, FileOp::Open, 0,
         "Error loading defaults.ini."},
        {"seek refused", false, &kOriginal, shorter.c_str(), FileOp::Seek, 1, saving},
        {"seek refused before a longer text", false, &kOriginal, longer.c_str(), FileOp::Seek, 1, saving},
        {"growing refused by a full disk", false, &kOriginal, longer.c_str(), FileOp::Truncate, 1, saving, true},
        {"seeking to the new end refused", false, &kOriginal, longer.c_str(), FileOp::Seek, 2, saving},
        {"short write of a longer text", false, &kOriginal, longer.c_str(), FileOp::Write, 1, saving, false, 100,
         false},
        {"failed write of a shorter text", false, &kOriginal, shorter.c_str(), FileOp::Write, 1, saving, false, 4},
        {"truncation failing once", false, &kOriginal, shorter.c_str(), FileOp::Truncate, 1, saving},
        {"truncation failing for good", false, &kOriginal, shorter.c_str(), FileOp::Truncate, 1, saving, true},
        {"truncation failing after growing", false, &kOriginal, longer.c_str(), FileOp::Truncate, 2, saving},
        {"a second save failing puts back what the first wrote", false, &kOriginal, longer.c_str(), FileOp::Write, 1,
         saving, false, 4, true, shorter.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.files.inject = nullptr;
        const std::string path = c.defaults ? kDefaults : kFlux;
        if (c.content != nullptr) sim.files.AddFile(path, *c.content);
        SettingsFile text;
        ASSERT_TRUE(c.save == nullptr || launcher.LoadSettingsFile(text));
        ASSERT_TRUE(c.first == nullptr || launcher.SaveSettingsFile(SettingsFile(c.first)));
        Fail(c.op, c.call, c.always, c.limit, c.error);
        sim.windows.ExpectMessageBox(IDOK);
        const size_t before = sim.windows.MessageBoxes().size();
        EXPECT_FALSE(c.save != nullptr ? launcher.SaveSettingsFile(SettingsFile(c.save))
                     : c.defaults      ? launcher.LoadDefaultsFile(text)
                                       : launcher.LoadSettingsFile(text));
        sim.files.inject = nullptr;
        EXPECT_EQ(Boxes(sim, before), c.message + "|Title|16|unowned\n");
        EXPECT_EQ(sim.files.Content(path), c.first != nullptr ? c.first : c.content != nullptr ? *c.content : "");
        EXPECT_EQ(launcher.m_hSettingsFile != nullptr, c.save != nullptr);
        launcher.CloseSettingsFile();
        EXPECT_EQ(sim.files.OpenHandles(), 0);
    }
}

const std::string H = "; x\r\n";

// The game's section with a movie list; nullptr: an entry that ends at its equals sign.
std::string Movies(const std::vector<const char*>& movies) {
    std::string text = "[icGame]\r\n";
    for (size_t i = 0; i < movies.size(); ++i)
        text += "movies[" + std::to_string(i) + "] =" + (movies[i] ? " " + std::string(movies[i]) : "") + "\r\n";
    return text;
}

TEST_F(SettingsFiles, EnableBlanksTheMovieListUpToItsFirstGap) {
    const struct { const char* name; std::string before, after; } cases[] = {
        {"four entries", Movies({"a", "b", "c", "d"}), Movies({"/movies/vort", "", "", ""})},
        {"an empty entry 1", Movies({"a", nullptr, "c"}), Movies({"/movies/vort", nullptr, "c"})},
        {"no entry 0", "[icGame]\r\nmovies[1] = b\r\nx = 1\r\n",
         "[icGame]\r\nmovies[1] = \r\nx = 1\r\n\r\nmovies[0] = /movies/vort"},
    };
    const std::string rest = "\r\n[Mods]\r\nvalkormod = 1\r\n[icPlayerPilot]\r\nmax_rem_range = 100000\r\n[icShip]\r\n"
                             "critical_damage_scale = 0.5\r\ncriticals_per_impact = 0.5\r\n[icTacticalCamera]\r\n"
                             "field_of_view = 1.75\r\n[iiSim]\r\ncollision_damage_factor = 4";
    for (const auto& c : cases) {
        EXPECT_EQ(Patched(ValkorProfile(), H + c.before), H + c.after + rest) << c.name;
        EXPECT_EQ(Patched(ValkorProfile(), H + c.after + rest), H + c.after + rest) << c.name << ", enabled again";
    }
}

TEST_F(SettingsFiles, DisableCopiesTheDefaultMovieListWithoutTheModsMovie) {
    const std::string options = "[icPlayerPilot]\r\nmax_rem_range = 1\r\n[icShip]\r\ncritical_damage_scale = 2\r\n"
                                "criticals_per_impact = 3\r\n[icTacticalCamera]\r\nfield_of_view = 4\r\n[iiSim]\r\n"
                                "collision_damage_factor = 5\r\n[Mods]\r\nvalkormod = 1\r\n";
    // The defaults' game section, and the enabled list it makes.
    const struct { const char* name; std::string defaults, after; } cases[] = {
        {"the mod's movie first", Movies({"/movies/maravel", "/movies/vort"}), Movies({"/movies/vort", "", ""})},
        {"no movie list", "[icOther]\r\nx = 1\r\n", Movies({"", "", ""})},
        {"the mod's movie last", Movies({"/a", "/movies/maravel"}), Movies({"/a", "", ""})},
        {"a gap ends the copy", Movies({"/a", "", "/c"}), Movies({"/a", "", ""})},
        {"a longer list", Movies({"/a", "/b", "/c", "/d"}), Movies({"/a", "/b", "/c", "/d"})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Patched(NovalkorProfile(), H + Movies({"/movies/vort", "", ""}) + options, H + c.defaults + options),
                  H + c.after + options.substr(0, options.size() - 3) + "0\r\n")
            << c.name;
}

// Memory that runs out at any one allocation of a patch, in its load, its edits
// or its save: one message says which file failed, nothing is written and
// everything is closed. Each step is hit by some allocation.
TEST_F(SettingsFiles, MemoryRunningOutAnywhereInAPatchLeavesTheFileAsItWas) {
    const std::string flux = H + Movies({"/movies/intro", "/movies/b"}) + std::string(600, ';') + "\r\n";
    const std::string defaults = H + Movies({"/movies/intro", "/movies/maravel", "/movies/c"});
    const struct { const Profile* profile; std::set<std::string> messages; } cases[] = {
        {&ValkorProfile(), {"Error opening the file flux.ini.", "Error loading flux.ini.", "Error saving flux.ini."}},
        {&NovalkorProfile(), {"Error opening the file flux.ini.", "Error loading flux.ini.", "Error saving flux.ini.",
                              "Error opening the file defaults.ini.", "Error loading defaults.ini."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.profile->name);
        sim.files.AddFile(kFlux, flux);
        sim.files.AddFile(kDefaults, defaults);
        long allocations = 0;
        ASSERT_TRUE(Patch(*c.profile, LONG_MAX, &allocations));
        std::set<std::string> seen;
        for (long failAt = 1; failAt <= allocations; ++failAt) {
            SCOPED_TRACE("allocation " + std::to_string(failAt));
            sim.files.AddFile(kFlux, flux);
            sim.windows.ExpectMessageBox(IDOK);
            const size_t before = sim.windows.MessageBoxes().size();
            EXPECT_FALSE(Patch(*c.profile, failAt));
            ASSERT_EQ(sim.windows.MessageBoxes().size(), before + 1);
            seen.insert(sim.windows.MessageBoxes().back().text);
            EXPECT_EQ(sim.files.Content(kFlux), flux);
        }
        EXPECT_EQ(seen, c.messages);
    }
}

}  // namespace
