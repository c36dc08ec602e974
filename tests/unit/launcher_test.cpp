// The launcher window and the application object in the simulated Windows: the
// start-up sequence's paths, the closing timer, the buttons of both programs, the
// command-line rule, and the taunts: which clip each program plays and how, the
// fallback, failures that stay silent, and when the launcher plays and stops.
#include <gtest/gtest.h>
#include "launcher/command_line.h"
#include "novalkor/taunt.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"
#include "valkor/taunt.h"

namespace {

// Recipes and taunts that record their calls, bound into test profiles.
SimLog* g_log = nullptr;
BOOL PatchSucceeds(LauncherDialog&) { return g_log->Add("patch"), TRUE; }
BOOL PatchFails(LauncherDialog&) { return g_log->Add("patch"), FALSE; }

// Novalkor's launcher: the two programs differ only in their profile's data,
// which the end-to-end tests and the taunt tests see in both.
const char kTitle[] = "Corvane 2: Drifthaven";

class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() {
        g_log = &sim.log;
        InstallGame(sim);
    }
    ~LauncherTest() override { ExpectNothingLeft(sim); }
    INT_PTR Run(BOOL (*patch)(LauncherDialog&) = PatchSucceeds, int silent = 0) {
        Profile profile = NovalkorProfile();
        profile.patchSettings = patch;
        profile.playTaunt = [](LauncherDialog&, Runtime&) { g_log->Add("taunt"); };
        return RunLauncher(sim, profile, silent);
    }
    // A message box of the launcher window: the text, the title, the stop icon.
    std::string Box(UINT message) { return FindStringText(message) + ("|" + std::string(kTitle)) + "|16\n"; }

    SimPlatform sim{{154}};  // Valkor's clip, for the launcher's own taunt
};

// Readme, the site and the hidden taunt button (not clickable, but its command
// taunts) do their work and leave the window open for any way of cancelling.
TEST_F(LauncherTest, ReadyWindowShowsItsFaceItsButtonsWorkAndEveryCancelEndsIt) {
    for (auto way : kCancelWays) {
        const int taunts = sim.log.Count("taunt");
        sim.windows.ExpectDialog(IDD_LAUNCHER, [&](SimDialogView& window) {
            const auto text = [&](int id) { return "|" + window.Text(id); };
            EXPECT_EQ(window.Caption() + text(IDOK) + text(IDC_README) + text(IDC_VISIT_SITE) + text(IDCANCEL) +
                          text(IDC_PICTURE),
                      kTitle + std::string("|Play|Readme|Visit Corvane Site|Cancel|") + kTitle);
            EXPECT_FALSE(window.IsVisible(IDC_TAUNT));
            EXPECT_EQ(window.Focus(), IDOK);
            EXPECT_EQ(window.BigIcon(), sim.windows.LoadAppIcon(IDI_APP));
            EXPECT_EQ(window.SmallIcon(), sim.windows.LoadSizedIcon(IDI_APP, 16, 16));
            EXPECT_NE(window.Font(), nullptr);
            EXPECT_EQ(sim.log.Count("taunt"), taunts + 1);  // the taunt timer fired before any user could act
            window.Press(IDC_README);
            window.Press(IDC_VISIT_SITE);
            EXPECT_THROW(window.Press(IDC_TAUNT), SimUnexpected);
            window.SendCommand(IDC_TAUNT);
            EXPECT_EQ(sim.log.Count("taunt"), taunts + 2);
            EXPECT_TRUE(window.Shown());
            way(window);
        });
        EXPECT_EQ(Run(), IDCANCEL);
    }
    EXPECT_EQ(sim.windows.lastFontRequest, "10,0,0,0,0,0,0,0,1,0,0,0,34,Arial");
    EXPECT_EQ(sim.log.Count("patch"), 0);
    ASSERT_EQ(sim.shell.requests.size(), 6u);
    for (size_t i = 0; i < 6; i += 2) {
        EXPECT_EQ(Describe(sim.shell.requests[i]), "readme_english.html|C:\\Games\\Drifthaven|16|1|icon");
        EXPECT_EQ(Describe(sim.shell.requests[i + 1]), "http://www.corvane.example/||0|1");
    }
    EXPECT_LT(sim.log.Find("caption "), sim.log.Find("timer start 1"));
    EXPECT_EQ(sim.log.Count("timer stop 1"), 3);
}

// A failed check ends the start-up with its message, the key's before the mod's;
// a failed patch after Play shows string 34; neither starts the game. Silent mode
// patches and shows nothing of a failed patch.
TEST_F(LauncherTest, AFailedCheckOrPatchShowsItsMessageAndStartsNoGame) {
    FailRegistry(sim, RegOp::Open, "settings", 1, ERROR_ACCESS_DENIED);
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ(Run(), IDCANCEL);
    sim.files.AddFile("C:\\Bare\\Drifthvn.exe", "MZ");  // no mod there
    sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", "C:\\Bare");
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ(Run(), IDCANCEL);
    sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", kGameDirectory);
    sim.windows.ExpectDialog(IDD_LAUNCHER, Pressing(IDOK));
    sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ(Run(PatchFails), IDCANCEL);
    for (auto patch : {PatchSucceeds, PatchFails}) EXPECT_EQ(Run(patch, 1), IDCANCEL);
    EXPECT_EQ(Boxes(sim), Box(IDS_ERROR_OPENING_KEY) + Box(IDS_MOD_MISSING) + Box(IDS_ERROR_LOADING_OPTIONS));
    EXPECT_EQ(sim.log.Count("patch"), 3);
    EXPECT_EQ(sim.log.Count("taunt"), 1);
    EXPECT_TRUE(sim.shell.requests.empty());
}

// Last, the window refused: it stays so.
TEST_F(LauncherTest, TheApplicationSeedsTheGeneratorAndAlwaysReturnsFalse) {
    const struct { const char* tail; int silent; bool windowRefused; } cases[] = {
        {"", 0, false}, {"-u", 1, false}, {"-u", 1, true}, {"", 0, true}};
    for (const auto& c : cases) {
        const size_t from = sim.log.Events().size();
        if (c.windowRefused) sim.windows.refuseTemplates.insert(IDD_LAUNCHER);
        if (!c.windowRefused && c.silent == 0) sim.windows.ExpectDialog(IDD_LAUNCHER, Pressing(IDCANCEL));
        LauncherApp app(sim.platform, NovalkorProfile());
        EXPECT_EQ(app.InitInstance(c.tail), FALSE) << c.tail;
        EXPECT_EQ(app.m_bSilent, c.silent) << c.tail;
        EXPECT_EQ(sim.log.Events().at(from), "srand " + std::to_string(sim.runtime.now));
        EXPECT_EQ(app.m_pMainWnd, nullptr);
    }
}

TEST(CommandLine, OnlyTheTailAfterTheProgramNameIsSearchedForMinusU) {
    const struct { const char* commandLine; const char* tail; bool silent; } cases[] = {
        {"valkor.exe", "", false},                   {"", "", false},
        {"valkor.exe -u", "-u", true},               {"valkor.exe -U", "-U", true},
        {"valkor.exe  \t -u", "-u", true},           {"valkor.exe one -u two", "one -u two", true},
        {"valkor.exe -undo", "-undo", true},         {"valkor.exe a-Ub", "a-Ub", true},
        {"valkor.exe /u", "/u", false},              {"valkor.exe u", "u", false},
        {"valkor.exe --x", "--x", false},            {"C:\\a-u\\valkor.exe", "", false},
        {"C:\\games\\valkor.exe\t-u", "-u", true},   {"\"C:\\unterminated -u", "", false},
        {"\"C:\\Program Files\\my-u dir\\novalkor.exe\" /u", "/u", false},
        {"\"C:\\Program Files\\my dir\\novalkor.exe\"-u", "-u", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CommandTail(c.commandLine), c.tail) << c.commandLine;
        EXPECT_EQ(WantsSilentMode(c.tail), c.silent) << c.commandLine;
    }
}

// The log's events from the first at or after from that starts with the prefix on, each followed by "|".
std::string EventsFrom(const SimLog& log, size_t from = 0, const std::string& prefix = "") {
    std::string events;
    for (size_t i = from; i < log.Events().size(); ++i)
        if (!events.empty() || log.Events()[i].rfind(prefix, 0) == 0) events += log.Events()[i] + "|";
    return events;
}

struct Taunt { const Profile& (*profile)(); std::set<UINT> waves; };
const Taunt kValkorTaunt{ValkorProfile, {154}};
const Taunt kNovalkorTaunt{NovalkorProfile, {133, 138}};

// One taunt's draws and sounds; nothing else happens, nor is anything shown (the
// script would have thrown). The faults: "find 138", "load 138", "lock 138" for
// the resource calls, "play 138" for a clip that cannot play.
std::string PlayOnce(const Taunt& taunt, std::vector<int> draws, const std::set<std::string>& faults = {}) {
    SimPlatform sim(taunt.waves);
    sim.runtime.draws = std::move(draws);
    for (const std::string& fault : faults)
        fault.rfind("play ", 0) == 0 ? void(sim.sound.refuse.insert(std::stoul(fault.substr(5))))
                                     : void(sim.resources.refuse.insert(fault));
    LauncherApp app(sim.platform, taunt.profile());
    LauncherDialog(sim.platform, taunt.profile(), app, nullptr).PlayTaunt();
    return EventsFrom(sim.log);
}

TEST(Taunt, NovalkorReseedsTwiceThenTakesTheRareClipForTheTopTwelveOfEveryLowByte) {
    for (int v = 0; v < 256; ++v)
        // Draws whose low byte is v, above 256 and near the top of rand's range.
        for (int r : {v, v + 256 * 127})
            EXPECT_EQ(PlayOnce(kNovalkorTaunt, {700, 701, r}), "rand 700|srand 700|rand 701|srand 701|rand " +
                                                                   std::to_string(r) + "|sound play " +
                                                                   (v >= 244 ? "138" : "133") + " flags 7|")
                << r;
}

// Whatever fails, nothing is shown: the fallback is the common clip, tried once.
// Valkor's one clip needs no draw, and has no fallback (the resource calls that
// can fail are the same for both programs).
TEST(Taunt, FailuresFallBackOnceToTheCommonClipAndOtherwiseStaySilent) {
    const struct { const Taunt* taunt; int draw; std::set<std::string> faults; const char* sounds; } cases[] = {
        {&kNovalkorTaunt, 255, {"find 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"load 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"lock 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"play 138"}, "sound play 138 flags 7 refused|sound play 133 flags 7|"},
        {&kNovalkorTaunt, 0, {"play 133"}, "sound play 133 flags 7 refused|sound play 133 flags 7 refused|"},
        {&kNovalkorTaunt, 255, {"find 138", "lock 133"}, ""},
        {&kValkorTaunt, 255, {}, "sound play 154 flags 7|"},
        {&kValkorTaunt, 0, {"play 154"}, "sound play 154 flags 7 refused|"},
    };
    for (const auto& c : cases) {
        std::string sounds = PlayOnce(*c.taunt, {0, 0, c.draw}, c.faults);
        if (c.taunt == &kNovalkorTaunt) sounds.erase(0, sounds.find("sound"));
        EXPECT_EQ(sounds, c.sounds) << c.taunt->profile().name << " " << c.draw;
    }
}

// The launcher's timer plays one taunt once it is ready, the hidden button one
// more, and Play and Cancel stop the clip after killing the timer, before the
// recipe runs or the window ends; the closing timer neither plays nor stops.
TEST_F(LauncherTest, TheLauncherPlaysWhenReadyAndOnTheHiddenButtonAndPlayAndCancelStopIt) {
    const std::string play = "patch|show 0|shell Drifthvn.exe in C:\\Games\\Drifthaven show 2|";
    const std::string end = "dialog 102 end 2|";
    const std::string ready = "timer start 1|timer tick 1|timer stop 1|sound play 154 flags 7|";
    // The player acts at once (0 ticks) or once the taunt timer has fired (-1); without an act, silent mode.
    const struct { const char* name; DialogStep act; int afterTicks; std::string events; } cases[] = {
        {"cancel at once", Pressing(IDCANCEL), 0, "timer start 1|timer stop 1|sound stop 0|" + end},
        {"play at once", Pressing(IDOK), 0, "timer start 1|timer stop 1|sound stop 0|" + play + end},
        {"cancel when ready", Pressing(IDCANCEL), -1, ready + "sound stop 0|" + end},
        {"button then play", [](SimDialogView& w) { w.SendCommand(IDC_TAUNT), w.Press(IDOK); }, -1,
         ready + "sound play 154 flags 7|sound stop 0|" + play + end},
        {"silent", nullptr, -1, "timer start 1337|timer tick 1337|timer stop 1337|" + end},
    };
    for (const auto& c : cases) {
        const size_t from = sim.log.Events().size();
        Profile profile = ValkorProfile();
        profile.patchSettings = PatchSucceeds;
        if (c.act) sim.windows.ExpectDialog(IDD_LAUNCHER, c.act, c.afterTicks);
        RunLauncher(sim, profile, c.act ? 0 : 1);
        EXPECT_EQ(EventsFrom(sim.log, from, "timer "), c.events) << c.name;
    }
}

}  // namespace
