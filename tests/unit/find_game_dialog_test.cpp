// The find-game window in the simulated Windows: its states with their texts and
// enabling, the timer-driven search with its step budget, pausing and resuming,
// and what OK accepts and hands back.
#include <gtest/gtest.h>
#include "failing_allocation.h"
#include "finder/find_game_dialog.h"
#include "platform/sim/sim_platform.h"
#include "resources/resource_ids.h"
#include "sim_game.h"

namespace {

class FindGame : public ::testing::Test {
protected:
    FindGame() {
        sim.files.AddVolume('C', DRIVE_FIXED);
        sim.files.AddFile("C:\\Games\\Drifthaven\\Drifthvn.exe", "");
        sim.files.AddDirectory("C:\\Games\\Drifthaven\\sub");
        sim.files.AddDirectory("C:\\Other\\Drifthvn.exe");  // a directory of the game's name
        sim.files.AddVolume('D', DRIVE_CDROM);
        sim.files.AddFile("D:\\Drifthvn.exe", "");
    }
    ~FindGame() override {
        EXPECT_EQ(sim.windows.ScriptLeft(), "");
        EXPECT_EQ(sim.files.OpenHandles(), 0);
    }
    // Runs the window; its result, with path starting as given. One object serves
    // every run of a test, so that a run shows what the one before it left behind.
    BOOL Ask(std::string& path) { return dialog.AskGameDirectory("Find Drifthaven", "Where is it?", path); }
    // The state a person sees: status, Search caption, edit box, and whether
    // OK, the edit box and Search are enabled.
    static std::string State(SimDialogView& window) {
        return window.Text(IDC_STATUS) + "|" + window.Text(IDC_SEARCH) + "|" + window.Text(IDC_PATH) + "|" +
               (window.IsEnabled(IDOK) ? "ok " : "") + (window.IsEnabled(IDC_PATH) ? "edit " : "") +
               (window.IsEnabled(IDC_SEARCH) ? "search" : "") + (window.IsEnabled(IDCANCEL) ? "" : " no cancel");
    }
    void Expect(const std::string& state, void (*then)(SimDialogView&), int afterTicks = -1) {
        sim.windows.ExpectDialog(IDD_FIND_GAME,
                                 [=](SimDialogView& window) {
                                     EXPECT_EQ(State(window), state);
                                     then(window);
                                 },
                                 afterTicks);
    }

    SimPlatform sim{{}};
    FindGameDialog dialog{sim.platform, nullptr};
};

void Search(SimDialogView& window) { window.Press(IDC_SEARCH); }
void Cancel(SimDialogView& window) { window.Press(IDCANCEL); }

TEST_F(FindGame, SearchFindsPausesAndGoesOnUntilNotFoundThenStartsAgain) {
    Expect("Ready|Start Search||ok edit search", [](SimDialogView& window) {
        EXPECT_EQ(window.Caption(), "Find Drifthaven");
        EXPECT_EQ(window.Text(IDC_EXPLANATION) + "|" + window.Text(IDOK) + "|" + window.Text(IDCANCEL),
                  "Where is it?|OK|Cancel");
        EXPECT_EQ(window.Focus(), IDC_PATH);
        window.Press(IDC_SEARCH);
        EXPECT_EQ(State(window), "Searching|Start Search||");
    });
    // Cancel while searching pauses; the window stays.
    Expect("C:|Start Search||", Cancel, 1);
    Expect("Search canceled|Continue Search||ok edit search", Search);
    Expect("Found|Continue Search|C:\\Games\\Drifthaven|ok edit search", Search);
    // The CD-ROM's copy is never reported.
    Expect("Not found|Start Search|C:\\Games\\Drifthaven|ok edit search", Search);
    // A new search begins again at drive A.
    Expect("Found|Continue Search|C:\\Games\\Drifthaven|ok edit search", Cancel);
    std::string path = "unchanged";
    EXPECT_FALSE(Ask(path));
    EXPECT_EQ(path, "unchanged");
    // So does the search of the window's next run.
    Expect("Ready|Start Search||ok edit search", Search);
    Expect("Found|Continue Search|C:\\Games\\Drifthaven|ok edit search", Cancel);
    EXPECT_FALSE(Ask(path));
}

// Without the memory for a search, the window gives the input back at its first tick.
TEST_F(FindGame, ASearchThatCannotBeginGivesTheInputBack) {
    Expect("Ready|Start Search||ok edit search", [](SimDialogView& window) {
        g_failingAllocations = 1;
        window.Press(IDC_SEARCH);
    });
    Expect("Searching|Start Search||ok edit search", Cancel);
    std::string path;
    EXPECT_FALSE(Ask(path));
    g_failingAllocations = 0;
}

TEST_F(FindGame, ATickMakesAtMost201StepsAndEndsAtANewDirectory) {
    sim.files.AddVolume('B', DRIVE_FIXED);  // searched before C:
    for (int i = 0; i < 1000; ++i) sim.files.AddFile("B:\\Big\\f" + std::to_string(i), "");
    int calls = 0;
    sim.files.inject = [&](FileOp op, const std::string&) {
        if (op == FileOp::FindFirst || op == FileOp::FindNext) ++calls;
        return FileFault{};
    };
    int before = 0;
    sim.windows.ExpectDialog(IDD_FIND_GAME, Search);
    // Ticks 1 to 3: drive B: and its root; B:\Big's first step; 201 steps into B:\Big.
    sim.windows.ExpectDialog(IDD_FIND_GAME, [&](SimDialogView& window) {
        EXPECT_EQ(window.Text(IDC_STATUS), "B:\\Big");
        before = calls;
    }, 2);
    sim.windows.ExpectDialog(IDD_FIND_GAME, [&](SimDialogView& window) {
        EXPECT_EQ(calls - before, 201);
        EXPECT_EQ(window.Text(IDC_STATUS), "B:\\Big");
        window.Escape();  // pauses
        window.Escape();  // closes
    }, 1);
    std::string path;
    EXPECT_FALSE(Ask(path));
}

TEST_F(FindGame, OkAcceptsOnlyADirectoryHoldingTheGame) {
    struct {
        const char* typed;
        bool accepted;
        const char* handedBack;
    } cases[] = {
        {"C:\\Games\\Drifthaven", true, "C:\\Games\\Drifthaven"},
        {"C:\\Games\\Drifthaven\\", true, "C:\\Games\\Drifthaven"},
        {"C:\\Games\\Drifthaven\\\\", true, "C:\\Games\\Drifthaven\\"},
        {"c:\\games\\DRIFTHAVEN", true, "c:\\games\\DRIFTHAVEN"},
        {"C:\\Other", true, "C:\\Other"},  // a directory named like the game counts
        {"C:\\Games", false, nullptr},
        {"", false, nullptr},  // "\Drifthvn.exe": the root of the current drive
        {"D:", true, "D:"},  // any drive: OK only asks whether the file is there
        {"C:", false, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string typed = c.typed;
        sim.windows.ExpectDialog(IDD_FIND_GAME, [typed](SimDialogView& window) {
            window.Type(IDC_PATH, typed);
            window.Press(IDOK);
        });
        if (!c.accepted) {
            sim.windows.ExpectMessageBox(IDOK);
            sim.windows.ExpectDialog(IDD_FIND_GAME, [typed](SimDialogView& window) {
                EXPECT_EQ(window.Text(IDC_PATH), typed);
                window.Press(IDCANCEL);
            });
        }
        std::string path = "before";
        const size_t boxes = sim.windows.MessageBoxes().size();
        EXPECT_EQ(Ask(path), c.accepted ? TRUE : FALSE);
        EXPECT_EQ(path, c.accepted ? c.handedBack : "before");
        EXPECT_EQ(Boxes(sim, boxes),
                  c.accepted ? "" : "Corvane 2: Drifthaven not found in specified directory|Incorrect Directory|48\n");
    }
}

TEST_F(FindGame, AFoundDirectoryCanBeChangedBeforeOk) {
    sim.windows.ExpectDialog(IDD_FIND_GAME, Search);
    sim.windows.ExpectDialog(IDD_FIND_GAME, [](SimDialogView& window) {
        EXPECT_EQ(window.Text(IDC_PATH), "C:\\Games\\Drifthaven");
        window.Type(IDC_PATH, "C:\\Other\\");
        window.Enter();
    });
    std::string path;
    EXPECT_TRUE(Ask(path));
    EXPECT_EQ(path, "C:\\Other");
    // The next run searches afresh.
    Expect("Ready|Start Search||ok edit search", Search);
    Expect("Found|Continue Search|C:\\Games\\Drifthaven|ok edit search", Cancel);
    EXPECT_FALSE(Ask(path));
}

}  // namespace
