// The taunts in the simulated Windows: which clip each program plays and how,
// the fallback, failures that stay silent, and when the launcher plays and stops.
#include <gtest/gtest.h>
#include "novalkor/taunt.h"
#include "resources/resource_ids.h"
#include "sim_game.h"
#include "valkor/taunt.h"

namespace {

// The log's sound and random events from the first one on, one a line.
std::string Sounds(const SimLog& log) {
    std::string sounds;
    for (const std::string& event : log.Events())
        if (event.rfind("sound", 0) == 0 || event.rfind("rand", 0) == 0 || event.rfind("srand 7", 0) == 0)
            sounds += event + "\n";
    return sounds;
}

struct Taunt {
    const Profile& (*profile)();
    std::set<UINT> waves;
};

std::string PlayOnce(const Taunt& taunt, std::vector<int> draws, const std::set<std::string>& refuse = {},
                     const std::set<UINT>& unplayable = {}) {
    SimPlatform sim(taunt.waves);
    sim.runtime.draws = std::move(draws);
    sim.resources.refuse = refuse;
    sim.sound.refuse = unplayable;
    LauncherApp app(sim.platform, taunt.profile());
    LauncherDialog launcher(sim.platform, taunt.profile(), app, nullptr);
    launcher.PlayTaunt();
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());  // the script would have thrown first
    return Sounds(sim.log);
}

const Taunt kValkorTaunt{ValkorProfile, {154}};
const Taunt kNovalkorTaunt{NovalkorProfile, {133, 138}};

TEST(Taunt, NovalkorReseedsTwiceThenTakesTheRareClipForTheTopTwelveOfEveryLowByte) {
    for (int v = 0; v < 256; ++v) {
        // Draws whose low byte is v, above 256 and near the top of rand's range.
        for (int r : {v, v + 256 * 127}) {
            const std::string clip = v >= 244 ? "138" : "133";
            EXPECT_EQ(PlayOnce(kNovalkorTaunt, {700, 701, r}),
                      "rand 700\nsrand 700\nrand 701\nsrand 701\nrand " + std::to_string(r) + "\nsound play " + clip +
                          " flags 7\n")
                << r;
        }
    }
}

TEST(Taunt, ValkorPlaysItsOneClipWithoutDrawing) {
    EXPECT_EQ(PlayOnce(kValkorTaunt, {255}), "sound play 154 flags 7\n");
}

// Whatever fails, nothing is shown: the fallback is the common clip, tried once.
TEST(Taunt, FailuresFallBackOnceToTheCommonClipAndOtherwiseStaySilent) {
    const struct {
        const Taunt* taunt;
        int draw;
        std::set<std::string> refuse;
        std::set<UINT> unplayable;
        const char* sounds;
    } cases[] = {
        {&kNovalkorTaunt, 255, {"find 138"}, {}, "sound play 133 flags 7\n"},
        {&kNovalkorTaunt, 255, {"load 138"}, {}, "sound play 133 flags 7\n"},
        {&kNovalkorTaunt, 255, {"lock 138"}, {}, "sound play 133 flags 7\n"},
        {&kNovalkorTaunt, 255, {}, {138}, "sound play 138 flags 7 refused\nsound play 133 flags 7\n"},
        {&kNovalkorTaunt, 0, {}, {133}, "sound play 133 flags 7 refused\nsound play 133 flags 7 refused\n"},
        {&kNovalkorTaunt, 255, {"find 138", "lock 133"}, {}, ""},
        {&kValkorTaunt, 0, {"find 154"}, {}, ""},
        {&kValkorTaunt, 0, {"load 154"}, {}, ""},
        {&kValkorTaunt, 0, {"lock 154"}, {}, ""},
        {&kValkorTaunt, 0, {}, {154}, "sound play 154 flags 7 refused\n"},
    };
    for (const auto& c : cases) {
        std::string sounds = PlayOnce(*c.taunt, {0, 0, c.draw}, c.refuse, c.unplayable);
        if (c.taunt == &kNovalkorTaunt) sounds.erase(0, sounds.find("sound"));
        EXPECT_EQ(sounds, c.sounds) << c.taunt->profile().name << " " << c.draw;
    }
}

SimLog* g_log = nullptr;

// The launcher's timer plays one taunt once it is ready, the hidden button one
// more, and Play and Cancel stop the clip after killing the timer, before the
// recipe runs or the window ends; the closing timer neither plays nor stops.
TEST(Taunt, TheLauncherPlaysWhenReadyAndOnTheHiddenButtonAndPlayAndCancelStopIt) {
    const struct {
        const char* name;
        void (*act)(SimDialogView&);
        int afterTicks;  // -1: once the taunt timer has fired; 0: at once
        int silent;
        const char* events;
    } cases[] = {
        {"cancel at once", [](SimDialogView& w) { w.Press(IDCANCEL); }, 0, 0,
         "timer start 1|timer stop 1|sound stop 0|dialog 102 end 2|"},
        {"play at once", [](SimDialogView& w) { w.Press(IDOK); }, 0, 0,
         "timer start 1|timer stop 1|sound stop 0|patch|show 0|shell Drifthvn.exe in C:\\Games\\Drifthaven show 2|"
         "dialog 102 end 2|"},
        {"cancel when ready", [](SimDialogView& w) { w.Press(IDCANCEL); }, -1, 0,
         "timer start 1|timer tick 1|timer stop 1|sound play 154 flags 7|sound stop 0|dialog 102 end 2|"},
        {"button then play", [](SimDialogView& w) { w.SendCommand(IDC_TAUNT), w.Press(IDOK); }, -1, 0,
         "timer start 1|timer tick 1|timer stop 1|sound play 154 flags 7|sound play 154 flags 7|sound stop 0|patch|"
         "show 0|shell Drifthvn.exe in C:\\Games\\Drifthaven show 2|dialog 102 end 2|"},
        {"silent", nullptr, -1, 1, "timer start 1337|timer tick 1337|timer stop 1337|dialog 102 end 2|"},
    };
    for (const auto& c : cases) {
        SimPlatform sim({154});
        InstallGame(sim);
        g_log = &sim.log;
        Profile profile = ValkorProfile();
        profile.patchSettings = [](LauncherDialog&) { return g_log->Add("patch"), TRUE; };
        if (c.act != nullptr) sim.windows.ExpectDialog(IDD_LAUNCHER, c.act, c.afterTicks);
        RunLauncher(sim, profile, c.silent);
        std::string events;
        const int from = sim.log.Find("timer ");
        for (size_t i = from < 0 ? 0 : size_t(from); i < sim.log.Events().size(); ++i) events += sim.log.Events()[i] + "|";
        EXPECT_EQ(events, c.events) << c.name;
    }
}

}  // namespace
