// The two patches on the movie lists' edge cases, run by the launcher's Play on
// the simulated Windows (the end-to-end scenarios patch the sample installation).
#include <gtest/gtest.h>
#include <climits>
#include <set>
#include "failing_allocation.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "platform/sim/sim_platform.h"

namespace {

const std::string kFlux = "C:\\Game\\flux.ini";
const std::string kDefaults = "C:\\Game\\defaults.ini";

class Recipes : public ::testing::Test {
protected:
    Recipes() {
        sim.files.AddVolume('C', DRIVE_FIXED);
        sim.files.AddDirectory("C:\\Game");
    }
    // Runs the program's patch as Play does; its result. With failAt, the
    // patch's failAt-th allocation fails, and allocations is how many it made.
    BOOL Patch(const Profile& profile, long failAt = 0, long* allocations = nullptr) {
        LauncherApp app(sim.platform, profile);
        LauncherDialog launcher(sim.platform, profile, app, nullptr);
        launcher.m_strInstallPath = "C:\\Game";
        launcher.m_strTitle = "Title";
        g_allocationsBeforeFailure = failAt;
        const BOOL patched = launcher.PatchSettings();
        if (allocations != nullptr) *allocations = failAt - g_allocationsBeforeFailure;
        g_allocationsBeforeFailure = 0;
        EXPECT_EQ(launcher.m_hSettingsFile, nullptr);
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
};

const std::string H = "; x\r\n";

// The game's section with a movie list; nullptr: an entry that ends at its equals sign.
std::string Movies(const std::vector<const char*>& movies) {
    std::string text = "[icGame]\r\n";
    for (size_t i = 0; i < movies.size(); ++i)
        text += "movies[" + std::to_string(i) + "] =" + (movies[i] ? " " + std::string(movies[i]) : "") + "\r\n";
    return text;
}

TEST_F(Recipes, EnableBlanksTheMovieListUpToItsFirstGap) {
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

TEST_F(Recipes, DisableCopiesTheDefaultMovieListWithoutTheModsMovie) {
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
TEST_F(Recipes, MemoryRunningOutAnywhereInAPatchLeavesTheFileAsItWas) {
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
