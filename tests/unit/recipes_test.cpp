// The two patches on realistic files and on the movie lists' edge cases, run by
// the launcher's Play on the simulated Windows.
#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "platform/sim/sim_platform.h"

namespace {

const std::string kFlux = "C:\\Game\\flux.ini";
const std::string kDefaults = "C:\\Game\\defaults.ini";

std::string SampleFile(const char* name) {
    std::ifstream in(std::string(SAMPLE_DIR) + "/" + name, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// Replaces the one occurrence of from; fails the test when it is not there once.
std::string Edit(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

class Recipes : public ::testing::Test {
protected:
    Recipes() {
        sim.files.AddVolume('C', DRIVE_FIXED);
        sim.files.AddDirectory("C:\\Game");
    }
    // Runs the program's patch as Play does; its result.
    BOOL Patch(const Profile& profile) {
        LauncherApp app(sim.platform, profile);
        LauncherDialog launcher(sim.platform, profile, app, nullptr);
        launcher.m_strInstallPath = "C:\\Game";
        launcher.m_strTitle = "Title";
        const BOOL patched = launcher.PatchSettings();
        EXPECT_EQ(launcher.m_hSettingsFile, nullptr);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
        return patched;
    }
    std::string Enable(const std::string& flux) {
        sim.files.AddFile(kFlux, flux);
        EXPECT_TRUE(Patch(ValkorProfile()));
        return sim.files.Content(kFlux);
    }
    std::string Disable(const std::string& flux, const std::string& defaults) {
        sim.files.AddFile(kFlux, flux);
        sim.files.AddFile(kDefaults, defaults);
        EXPECT_TRUE(Patch(NovalkorProfile()));
        return sim.files.Content(kFlux);
    }

    SimPlatform sim{{}};
};

TEST_F(Recipes, EnableThenDisableOnTheSampleInstallation) {
    const std::string sample = SampleFile("flux.ini");
    ASSERT_GT(sample.size(), 200u);
    std::string enabled = sample;
    enabled = Edit(enabled, "max_rem_range = 25000", "max_rem_range = 100000");
    enabled = Edit(enabled, "critical_damage_scale = 1.0\r\n", "critical_damage_scale = 0.5\r\n\r\ncriticals_per_impact = 0.5");
    enabled = Edit(enabled, "field_of_view = 1.2", "field_of_view = 1.75");
    enabled = Edit(enabled, "movies[0] = /movies/intro", "movies[0] = /movies/vort");
    enabled = Edit(enabled, "movies[1] = /movies/maravel", "movies[1] = ");
    enabled = Edit(enabled, "movies[2] = /movies/credits_a", "movies[2] = ");
    enabled = Edit(enabled, "movies[3] = /movies/credits_b", "movies[3] = ");
    enabled += "\r\n[Mods]\r\nvalkormod = 1\r\n[iiSim]\r\ncollision_damage_factor = 4";
    EXPECT_EQ(Enable(sample), enabled);
    // Enabling again changes nothing.
    EXPECT_EQ(Enable(enabled), enabled);

    std::string disabled = enabled;
    disabled = Edit(disabled, "max_rem_range = 100000", "max_rem_range = 25000");
    disabled = Edit(disabled, "critical_damage_scale = 0.5", "critical_damage_scale = 1.0");
    disabled = Edit(disabled, "criticals_per_impact = 0.5", "criticals_per_impact = 1");
    disabled = Edit(disabled, "field_of_view = 1.75", "field_of_view = 1.2");
    disabled = Edit(disabled, "collision_damage_factor = 4", "collision_damage_factor = 1");
    disabled = Edit(disabled, "valkormod = 1", "valkormod = 0");
    // The defaults' list without "/movies/maravel": intro, logo, and the empty
    // entry that ends a run of it.
    disabled = Edit(disabled, "movies[0] = /movies/vort", "movies[0] = /movies/intro");
    disabled = Edit(disabled, "movies[1] = ", "movies[1] = /movies/logo");
    EXPECT_EQ(Disable(enabled, SampleFile("defaults.ini")), disabled);
}

const std::string H = "; x\r\n";

TEST_F(Recipes, EnableBlanksTheMovieListUpToItsFirstGap) {
    struct {
        const char* name;
        std::string before;
        std::string after;
    } cases[] = {
        {"four entries", H + "[icGame]\r\nmovies[0] = a\r\nmovies[1] = b\r\nmovies[2] = c\r\nmovies[3] = d\r\n",
         H + "[icGame]\r\nmovies[0] = /movies/vort\r\nmovies[1] = \r\nmovies[2] = \r\nmovies[3] = \r\n"},
        {"an empty entry 1", H + "[icGame]\r\nmovies[0] = a\r\nmovies[1] =\r\nmovies[2] = c\r\n",
         H + "[icGame]\r\nmovies[0] = /movies/vort\r\nmovies[1] =\r\nmovies[2] = c\r\n"},
        {"no entry 0", H + "[icGame]\r\nmovies[1] = b\r\nx = 1\r\n",
         H + "[icGame]\r\nmovies[1] = \r\nx = 1\r\n\r\nmovies[0] = /movies/vort"},
    };
    const std::string rest = "\r\n[Mods]\r\nvalkormod = 1\r\n[icPlayerPilot]\r\nmax_rem_range = 100000\r\n[icShip]\r\n"
                             "critical_damage_scale = 0.5\r\ncriticals_per_impact = 0.5\r\n[icTacticalCamera]\r\n"
                             "field_of_view = 1.75\r\n[iiSim]\r\ncollision_damage_factor = 4";
    for (const auto& c : cases) EXPECT_EQ(Enable(c.before), c.after + rest) << c.name;
}

TEST_F(Recipes, DisableCopiesTheDefaultMovieListWithoutTheModsMovie) {
    const std::string options = "[icPlayerPilot]\r\nmax_rem_range = 1\r\n[icShip]\r\ncritical_damage_scale = 2\r\n"
                                "criticals_per_impact = 3\r\n[icTacticalCamera]\r\nfield_of_view = 4\r\n[iiSim]\r\n"
                                "collision_damage_factor = 5\r\n[Mods]\r\nvalkormod = 1\r\n";
    const std::string restored = Edit(options, "valkormod = 1", "valkormod = 0");
    const std::string flux = "[icGame]\r\nmovies[0] = /movies/vort\r\nmovies[1] = \r\nmovies[2] = \r\n";
    struct {
        const char* name;
        std::string defaultsGame;
        std::string fluxGame;
    } cases[] = {
        {"the mod's movie first", "[icGame]\r\nmovies[0] = /movies/maravel\r\nmovies[1] = /movies/vort\r\n",
         "[icGame]\r\nmovies[0] = /movies/vort\r\nmovies[1] = \r\nmovies[2] = \r\n"},
        {"no movie list", "[icOther]\r\nx = 1\r\n", "[icGame]\r\nmovies[0] = \r\nmovies[1] = \r\nmovies[2] = \r\n"},
        {"the mod's movie last", "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = /movies/maravel\r\n",
         "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = \r\nmovies[2] = \r\n"},
        {"a gap ends the copy", "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = \r\nmovies[2] = /c\r\n",
         "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = \r\nmovies[2] = \r\n"},
        {"a longer list", "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = /b\r\nmovies[2] = /c\r\nmovies[3] = /d\r\n",
         "[icGame]\r\nmovies[0] = /a\r\nmovies[1] = /b\r\nmovies[2] = /c\r\nmovies[3] = /d\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string after = Disable(H + flux + options, H + c.defaultsGame + options);
        EXPECT_EQ(after, H + c.fluxGame + restored);
    }
}

TEST_F(Recipes, DisableWritesAnOptionTheDefaultsLackAsEmpty) {
    const std::string after = Disable(H + "[icTacticalCamera]\r\nfield_of_view = 1.75\r\n", H + "[icGame]\r\n");
    EXPECT_NE(after.find("field_of_view = \r\n"), std::string::npos) << after;
    EXPECT_NE(after.find("\r\n[Mods]\r\nvalkormod = 0"), std::string::npos) << after;
}

TEST_F(Recipes, AFileThatCannotBeLoadedIsLeftAsItWas) {
    const std::string flux = H + "[icGame]\r\nmovies[0] = /movies/vort\r\n";
    sim.files.AddFile(kFlux, flux);
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_FALSE(Patch(NovalkorProfile()));  // no defaults.ini
    EXPECT_EQ(sim.windows.MessageBoxes().back().text, "Error opening the file defaults.ini.");

    sim.files.HoldOpen(kFlux);
    for (const Profile* profile : {&ValkorProfile(), &NovalkorProfile()}) {
        sim.windows.ExpectMessageBox(IDOK);
        EXPECT_FALSE(Patch(*profile));
        EXPECT_EQ(sim.windows.MessageBoxes().back().text, "Error opening the file flux.ini.");
    }
    sim.files.Release(kFlux);
    EXPECT_EQ(sim.files.Content(kFlux), flux);
}

}  // namespace
