// The launcher window and the application object in the simulated Windows: the
// start-up sequence's paths, the closing timer, the buttons of both programs and
// the command-line rule.
#include <gtest/gtest.h>
#include "launcher/command_line.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "platform/sim/sim_platform.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

// Recipes and taunts that record their calls, bound into test profiles.
int g_patches = 0;
int g_taunts = 0;
BOOL PatchSucceeds(LauncherDialog&) { return ++g_patches, TRUE; }
BOOL PatchFails(LauncherDialog&) { return ++g_patches, FALSE; }
void CountTaunt(LauncherDialog&) { ++g_taunts; }

Profile Recording(const Profile& base, BOOL (*patch)(LauncherDialog&)) {
    Profile profile = base;
    profile.patchSettings = patch;
    profile.playTaunt = CountTaunt;
    return profile;
}

struct Deliverable {
    const Profile& (*profile)();
    const char* title;
    const char* captions[4];
    const char* readme;
    UINT site;
};

const Deliverable kDeliverables[] = {
    {ValkorProfile, "Corvane 2: Drifthaven: Valkor", {"Play", "Readme", "Visit Mirefall", "Cancel"},
     "readme_valkor.html", 23},
    {NovalkorProfile, "Corvane 2: Drifthaven", {"Play", "Readme", "Visit Corvane Site", "Cancel"},
     "readme_english.html", 7},
};

void PrintTo(const Deliverable& d, std::ostream* out) { *out << d.profile().name; }

bool Logged(const SimLog& log, const std::string& event) {
    for (const std::string& each : log.Events())
        if (each == event) return true;
    return false;
}

class LauncherTest : public ::testing::TestWithParam<Deliverable> {
protected:
    LauncherTest() {
        g_patches = g_taunts = 0;
        InstallGame(sim);
    }
    ~LauncherTest() override {
        EXPECT_EQ(sim.windows.ScriptLeft(), "");
        EXPECT_EQ(sim.registry.OpenHandles(), 0);
        EXPECT_EQ(sim.windows.LiveFonts(), 0);
        EXPECT_EQ(sim.windows.OpenWindows(), 0);
    }

    // Runs the launcher window of the profile as the application object does.
    INT_PTR Run(const Profile& profile, int silent = 0) {
        LauncherApp app(sim.platform, profile);
        app.m_bSilent = silent;
        LauncherDialog dialog(sim.platform, profile, app, nullptr);
        return dialog.DoModal();
    }
    std::string Text(UINT id) { return FindStringText(id); }

    SimPlatform sim{{IDW_VALKOR_TAUNT, IDW_NOVALKOR_TAUNT, IDW_NOVALKOR_RARE_TAUNT}};
};

TEST_P(LauncherTest, ReadyWindowShowsTitleCaptionsIconsAndPlaysOneTaunt) {
    const Deliverable& d = GetParam();
    const Profile profile = Recording(d.profile(), PatchSucceeds);
    sim.windows.ExpectDialog(IDD_LAUNCHER, [&](SimDialogView& window) {
        EXPECT_EQ(window.Caption(), d.title);
        EXPECT_EQ(window.Text(IDOK), d.captions[0]);
        EXPECT_EQ(window.Text(IDC_README), d.captions[1]);
        EXPECT_EQ(window.Text(IDC_VISIT_SITE), d.captions[2]);
        EXPECT_EQ(window.Text(IDCANCEL), d.captions[3]);
        EXPECT_FALSE(window.IsVisible(IDC_TAUNT));
        EXPECT_TRUE(window.IsVisible(IDC_PICTURE));
        EXPECT_NE(window.BigIcon(), nullptr);
        EXPECT_NE(window.SmallIcon(), window.BigIcon());
        EXPECT_NE(window.Font(), nullptr);
        EXPECT_EQ(g_taunts, 1);  // the taunt timer fired before any user could act
        window.Escape();
    });
    EXPECT_EQ(Run(profile), IDCANCEL);
    EXPECT_EQ(sim.windows.lastFontRequest, "10,0,0,0,0,0,0,0,1,0,0,0,34,Arial");
    EXPECT_EQ(g_patches, 0);
    EXPECT_TRUE(sim.shell.requests.empty());
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());
    EXPECT_LT(sim.log.Find("caption "), sim.log.Find("timer start 1"));
    EXPECT_FALSE(Logged(sim.log, "timer start 1337"));
}

TEST_P(LauncherTest, SilentModePatchesAndClosesByItselfWithoutGameOrTaunt) {
    const Profile profile = Recording(GetParam().profile(), PatchSucceeds);
    EXPECT_EQ(Run(profile, 1), IDCANCEL);
    EXPECT_EQ(g_patches, 1);
    EXPECT_EQ(g_taunts, 0);
    EXPECT_TRUE(sim.shell.requests.empty());
    EXPECT_GE(sim.log.Find("timer tick 1337"), 0);
    EXPECT_LT(sim.log.Find("timer start 1337"), sim.log.Find("timer stop 1337"));
    EXPECT_FALSE(Logged(sim.log, "timer start 1"));
}

TEST_P(LauncherTest, SilentModeIgnoresAFailedPatchAndShowsNothingOfItsOwn) {
    const Profile profile = Recording(GetParam().profile(), PatchFails);
    EXPECT_EQ(Run(profile, 1), IDCANCEL);
    EXPECT_EQ(g_patches, 1);
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());
}

TEST_P(LauncherTest, PlayHidesTheWindowThenStartsTheGameMinimisedInTheInstallPath) {
    const Profile profile = Recording(GetParam().profile(), PatchSucceeds);
    HICON smallIcon = nullptr;
    sim.windows.ExpectDialog(IDD_LAUNCHER, [&](SimDialogView& window) {
        smallIcon = window.SmallIcon();
        window.Press(IDOK);
    });
    EXPECT_EQ(Run(profile), IDCANCEL);
    EXPECT_EQ(g_patches, 1);
    ASSERT_EQ(sim.shell.requests.size(), 1u);
    const ShellRequest& start = sim.shell.requests[0];
    EXPECT_EQ(start.cbSize, sizeof(SHELLEXECUTEINFOA));
    EXPECT_EQ(start.fMask, static_cast<UINT>(SEE_MASK_ICON));
    EXPECT_EQ(start.hwnd, nullptr);
    EXPECT_TRUE(start.verbNull);
    EXPECT_EQ(start.file, "Drifthvn.exe");
    EXPECT_FALSE(start.parametersNull);
    EXPECT_EQ(start.parameters, "");
    EXPECT_EQ(start.directory, "C:\\Games\\Drifthaven");
    EXPECT_EQ(start.nShow, SW_SHOWMINIMIZED);
    EXPECT_EQ(start.hIcon, smallIcon);
    EXPECT_LT(sim.log.Find("show 0"), sim.log.Find("shell Drifthvn.exe"));
    EXPECT_LT(sim.log.Find("timer stop 1"), sim.log.Find("show 0"));
}

TEST_P(LauncherTest, PlayWithAFailedPatchShowsString34AndStartsNothing) {
    const Profile profile = Recording(GetParam().profile(), PatchFails);
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) { window.Press(IDOK); });
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ(Run(profile), IDCANCEL);
    ASSERT_EQ(sim.windows.MessageBoxes().size(), 1u);
    const MessageBoxRecord& box = sim.windows.MessageBoxes()[0];
    EXPECT_EQ(box.text, "Error loading standard options");
    EXPECT_EQ(box.caption, GetParam().title);
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONHAND));
    EXPECT_NE(box.owner, nullptr);
    EXPECT_TRUE(sim.shell.requests.empty());
    EXPECT_EQ(sim.log.Count("show 0"), 0);
}

TEST_P(LauncherTest, ReadmeAndSiteOpenTheirTargetsAndLeaveTheWindowOpen) {
    const Deliverable& d = GetParam();
    const Profile profile = Recording(d.profile(), PatchSucceeds);
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) {
        window.Press(IDC_README);
        window.Press(IDC_VISIT_SITE);
        window.Press(IDC_README);
        EXPECT_TRUE(window.Shown());
    });
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) { window.Press(IDCANCEL); });
    EXPECT_EQ(Run(profile), IDCANCEL);
    ASSERT_EQ(sim.shell.requests.size(), 3u);
    const ShellRequest& readme = sim.shell.requests[0];
    EXPECT_EQ(readme.file, d.readme);
    EXPECT_EQ(readme.directory, "C:\\Games\\Drifthaven");
    EXPECT_EQ(readme.fMask, static_cast<UINT>(SEE_MASK_ICON));
    EXPECT_EQ(readme.nShow, SW_SHOWNORMAL);
    EXPECT_NE(readme.hIcon, nullptr);
    const ShellRequest& site = sim.shell.requests[1];
    EXPECT_EQ(site.file, Text(d.site));
    EXPECT_EQ(site.file.rfind("http://", 0), 0u);
    EXPECT_FALSE(site.directoryNull);
    EXPECT_EQ(site.directory, "");
    EXPECT_EQ(site.fMask, 0u);
    EXPECT_EQ(site.nShow, SW_SHOWNORMAL);
    EXPECT_EQ(site.hIcon, nullptr);
    EXPECT_EQ(g_patches, 0);
}

TEST_P(LauncherTest, EveryWayOfCancellingEndsTheWindowWithoutPatching) {
    const Profile profile = Recording(GetParam().profile(), PatchSucceeds);
    void (*const ways[])(SimDialogView&) = {
        [](SimDialogView& window) { window.Press(IDCANCEL); },
        [](SimDialogView& window) { window.Escape(); },
        [](SimDialogView& window) { window.CloseBox(); },
    };
    for (auto way : ways) {
        sim.windows.ExpectDialog(IDD_LAUNCHER, way);
        EXPECT_EQ(Run(profile), IDCANCEL);
    }
    EXPECT_EQ(g_patches, 0);
    EXPECT_TRUE(sim.shell.requests.empty());
    EXPECT_EQ(sim.log.Count("timer stop 1"), 3);
}

TEST_P(LauncherTest, TheHiddenTauntButtonCannotBeClickedButItsCommandTaunts) {
    const Profile profile = Recording(GetParam().profile(), PatchSucceeds);
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) {
        EXPECT_THROW(window.Press(IDC_TAUNT), SimUnexpected);
        window.SendCommand(IDC_TAUNT);
        window.SendCommand(IDC_TAUNT);
        window.Press(IDCANCEL);
    });
    Run(profile);
    EXPECT_EQ(g_taunts, 3);
}

INSTANTIATE_TEST_SUITE_P(BothPrograms, LauncherTest, ::testing::ValuesIn(kDeliverables),
                         [](const ::testing::TestParamInfo<Deliverable>& param) {
                             return std::string(param.param.profile().name);
                         });

TEST(LauncherErrors, ReportErrorShowsTheTextWithTheTitleAndTheStopIcon) {
    SimPlatform sim{{}};
    LauncherApp app(sim.platform, ValkorProfile());
    LauncherDialog dialog(sim.platform, ValkorProfile(), app, nullptr);
    dialog.m_strTitle = "Corvane 2: Drifthaven: Valkor";
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ(dialog.ReportError(IDS_MOD_MISSING), FALSE);
    ASSERT_EQ(sim.windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(sim.windows.MessageBoxes()[0].text, "Could not find Valkor mod.");
    EXPECT_EQ(sim.windows.MessageBoxes()[0].caption, "Corvane 2: Drifthaven: Valkor");
    EXPECT_EQ(sim.windows.MessageBoxes()[0].style, static_cast<UINT>(MB_OK | MB_ICONHAND));
}

TEST(LauncherApplication, SeedsTheGeneratorAndAlwaysReturnsFalse) {
    struct Case {
        const char* tail;
        int silent;
        bool windowRefused;
    } cases[] = {{"", 0, false}, {"-u", 1, false}, {"-u", 1, true}, {"", 0, true}};
    for (const Case& c : cases) {
        SimPlatform sim{{}};
        InstallGame(sim);
        if (c.windowRefused) sim.windows.refuseTemplates.insert(IDD_LAUNCHER);
        if (!c.windowRefused && c.silent == 0)
            sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) { window.Press(IDCANCEL); });
        LauncherApp app(sim.platform, NovalkorProfile());
        EXPECT_EQ(app.InitInstance(c.tail), FALSE) << c.tail;
        EXPECT_EQ(app.m_bSilent, c.silent) << c.tail;
        EXPECT_EQ(sim.log.Events().front(), "srand " + std::to_string(sim.runtime.now));
        EXPECT_EQ(sim.windows.ScriptLeft(), "");
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
}

TEST(CommandLine, OnlyTheTailAfterTheProgramNameIsSearchedForMinusU) {
    struct Case {
        const char* commandLine;
        const char* tail;
        bool silent;
    } cases[] = {
        {"valkor.exe", "", false},
        {"", "", false},
        {"valkor.exe -u", "-u", true},
        {"valkor.exe -U", "-U", true},
        {"valkor.exe  \t -u", "-u", true},
        {"valkor.exe one -u two", "one -u two", true},
        {"valkor.exe -undo", "-undo", true},
        {"valkor.exe a-Ub", "a-Ub", true},
        {"valkor.exe /u", "/u", false},
        {"valkor.exe u", "u", false},
        {"valkor.exe --x", "--x", false},
        {"C:\\a-u\\valkor.exe", "", false},
        {"\"C:\\Program Files\\my-u dir\\novalkor.exe\" /u", "/u", false},
        {"\"C:\\Program Files\\my dir\\novalkor.exe\"-u", "-u", true},
        {"\"C:\\unterminated -u", "", false},
        {"C:\\games\\valkor.exe\t-u", "-u", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CommandTail(c.commandLine), c.tail) << c.commandLine;
        EXPECT_EQ(WantsSilentMode(CommandTail(c.commandLine)), c.silent) << c.commandLine;
    }
}

}  // namespace
