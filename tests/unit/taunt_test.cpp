// The taunts in the simulated Windows: which clip each program plays and how,
// the fallback, failures that stay silent, and when the launcher plays and stops.
#include <gtest/gtest.h>
#include "novalkor/taunt.h"
#include "resources/resource_ids.h"
#include "sim_game.h"
#include "valkor/taunt.h"

namespace {

// The log's events from the first that starts with the prefix on ("" for all), each followed by "|".
std::string EventsFrom(const SimLog& log, const std::string& prefix = "") {
    std::string events;
    for (size_t i = static_cast<size_t>(std::max(log.Find(prefix), 0)); i < log.Events().size(); ++i)
        events += log.Events()[i] + "|";
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
// Valkor's one clip needs no draw.
TEST(Taunt, FailuresFallBackOnceToTheCommonClipAndOtherwiseStaySilent) {
    const struct { const Taunt* taunt; int draw; std::set<std::string> faults; const char* sounds; } cases[] = {
        {&kNovalkorTaunt, 255, {"find 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"load 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"lock 138"}, "sound play 133 flags 7|"},
        {&kNovalkorTaunt, 255, {"play 138"}, "sound play 138 flags 7 refused|sound play 133 flags 7|"},
        {&kNovalkorTaunt, 0, {"play 133"}, "sound play 133 flags 7 refused|sound play 133 flags 7 refused|"},
        {&kNovalkorTaunt, 255, {"find 138", "lock 133"}, ""},
        {&kValkorTaunt, 255, {}, "sound play 154 flags 7|"},
        {&kValkorTaunt, 0, {"find 154"}, ""},
        {&kValkorTaunt, 0, {"load 154"}, ""},
        {&kValkorTaunt, 0, {"lock 154"}, ""},
        {&kValkorTaunt, 0, {"play 154"}, "sound play 154 flags 7 refused|"},
    };
    for (const auto& c : cases) {
        std::string sounds = PlayOnce(*c.taunt, {0, 0, c.draw}, c.faults);
        if (c.taunt == &kNovalkorTaunt) sounds.erase(0, sounds.find("sound"));
        EXPECT_EQ(sounds, c.sounds) << c.taunt->profile().name << " " << c.draw;
    }
}

SimLog* g_log = nullptr;

// The launcher's timer plays one taunt once it is ready, the hidden button one
// more, and Play and Cancel stop the clip after killing the timer, before the
// recipe runs or the window ends; the closing timer neither plays nor stops.
TEST(Taunt, TheLauncherPlaysWhenReadyAndOnTheHiddenButtonAndPlayAndCancelStopIt) {
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
        SimPlatform sim({154});
        InstallGame(sim);
        g_log = &sim.log;
        Profile profile = ValkorProfile();
        profile.patchSettings = [](LauncherDialog&) { return g_log->Add("patch"), TRUE; };
        if (c.act) sim.windows.ExpectDialog(IDD_LAUNCHER, c.act, c.afterTicks);
        RunLauncher(sim, profile, c.act ? 0 : 1);
        EXPECT_EQ(EventsFrom(sim.log, "timer "), c.events) << c.name;
        ExpectNothingLeft(sim);
    }
}

}  // namespace
