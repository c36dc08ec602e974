// The find-game window in the simulated Windows: its states with their texts and
// enabling, the timer-driven search in slices of time, pausing and resuming, and
// what OK accepts and hands back.
#include <gtest/gtest.h>
#include <functional>
#include "failing_allocation.h"
#include "finder/find_game_dialog.h"
#include "platform/sim/sim_platform.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

const char kReady[] = "Ready|Start Search||ok edit browse search|keys to 1004";
const char kFound[] = "Found|Continue Search|C:\\Games\\Drifthaven|ok edit browse search|keys to 1004";

class FindGame : public ::testing::Test {
protected:
    FindGame() {
        sim.files.AddVolume('C', DRIVE_FIXED);
        sim.files.AddFile("C:\\Games\\Drifthaven\\Drifthvn.exe", "");
        sim.files.AddDirectory("C:\\Games\\Drifthaven\\sub");
        sim.files.AddDirectory("C:\\Other\\Drifthvn.exe");  // a directory of the game's name
        sim.files.AddVolume('D', DRIVE_CDROM);
        sim.files.AddFile("D:\\Drifthvn.exe", "");
        // The disk's pace on the test's clock: looking into a folder takes msPerFolder,
        // and each entry of the listing slowList one millisecond.
        sim.files.inject = [this](FileOp op, const std::string& path) {
            if (op == FileOp::FindFirst && path.back() != '*') sim.runtime.counter += msPerFolder;
            if (op == FileOp::FindNext && path == slowList) ++sim.runtime.counter;
            return FileFault{};
        };
    }
    ~FindGame() override { ExpectNothingLeft(sim); }
    // Runs the window: "accepted" and the path it hands back, or the path as it was.
    // One object serves every run of a test, so that a run shows what the one
    // before it left behind.
    std::string Ask() {
        std::string path = "unchanged";
        return dialog.AskGameDirectory("Find Drifthaven", "Where is it?", path) ? "accepted " + path : path;
    }
    // The state a person sees: status, Search caption, edit box, whether OK,
    // the edit box, Browse and Search are enabled, and the control that keys reach.
    static std::string State(SimDialogView& window) {
        return window.Text(IDC_STATUS) + "|" + window.Text(IDC_SEARCH) + "|" + window.Text(IDC_PATH) + "|" +
               (window.IsEnabled(IDOK) ? "ok " : "") + (window.IsEnabled(IDC_PATH) ? "edit " : "") +
               (window.IsEnabled(IDC_BROWSE) ? "browse " : "") + (window.IsEnabled(IDC_SEARCH) ? "search" : "") +
               (window.IsEnabled(IDCANCEL) ? "" : " no cancel") + "|keys to " + std::to_string(window.Focus());
    }
    // The window's next showing, in the state given, after afterTicks timer ticks.
    void Expect(const std::string& state, std::function<void(SimDialogView&)> then, int afterTicks = -1) {
        sim.windows.ExpectDialog(IDD_FIND_GAME, [=](SimDialogView& window) {
            EXPECT_EQ(State(window), state);
            then(window);
        }, afterTicks);
    }

    SimPlatform sim{{}};
    FindGameDialog dialog{sim.platform, nullptr};
    int64_t msPerFolder = 20;  // a slow disk: a tick ends in each new folder
    std::string slowList;
};

const DialogStep Search = Pressing(IDC_SEARCH), Cancel = Pressing(IDCANCEL);

TEST_F(FindGame, SearchFindsPausesAndGoesOnUntilNotFoundThenStartsAgain) {
    Expect(kReady, [](SimDialogView& window) {
        EXPECT_EQ(window.Caption() + "|" + window.Text(IDC_EXPLANATION) + "|" + window.Text(IDOK) + "|" +
                      window.Text(IDCANCEL), "Find Drifthaven|Where is it?|OK|Cancel");
        window.Press(IDC_SEARCH);
        EXPECT_EQ(State(window), "Searching|Start Search|||keys to 2");
    });
    // Escape while searching pauses; the window stays.
    Expect("C:|Start Search|||keys to 2", [](SimDialogView& window) { window.Escape(); }, 1);
    Expect("Search canceled|Continue Search||ok edit browse search|keys to 1004", Search);
    // Enter while searching presses Cancel, the button with the focus.
    Expect("C:\\Games|Continue Search|||keys to 2", [](SimDialogView& window) { window.Enter(); }, 1);
    Expect("Search canceled|Continue Search||ok edit browse search|keys to 1004", Search);
    Expect(kFound, [this](SimDialogView& window) {
        // The keyboard came back to the edit box after the found folder was put in it.
        EXPECT_EQ(sim.log.Events().back(), "focus 1004 C:\\Games\\Drifthaven");
        Search(window);
    });
    // The CD-ROM's copy is never reported.
    Expect("Not found|Start Search|C:\\Games\\Drifthaven|ok edit browse search|keys to 1004", Search);
    // A new search begins again at drive A.
    Expect(kFound, Cancel);
    EXPECT_EQ(Ask(), "unchanged");
    // So does the search of the window's next run; what it found can be changed before OK.
    Expect(kReady, Search);
    Expect(kFound, [](SimDialogView& window) {
        window.Type(IDC_PATH, "C:\\Other\\");
        window.Enter();
    });
    EXPECT_EQ(Ask(), "accepted C:\\Other");
    // And after OK the next run searches afresh: here without the memory for a
    // search, so the window gives the input back at its first tick.
    Expect(kReady, [](SimDialogView& window) {
        g_allocationsBeforeFailure = 1;  // the search's, the first the click makes
        window.Press(IDC_SEARCH);
    });
    Expect("Searching|Start Search||ok edit browse search|keys to 1004", Cancel);
    EXPECT_EQ(Ask(), "unchanged");
}

// Search reached while the keyboard is in the edit box or on OK (a command, not
// a click) takes it to Cancel as well. A tick searches until its slice of 15 ms is
// spent and shows the last folder it began; Cancel between ticks pauses it there.
TEST_F(FindGame, ASearchTakesTheKeyboardToCancelFromAnyControlAndATickSearchesForItsSlice) {
    msPerFolder = 1;
    slowList = "B:\\Many\\*";
    sim.files.AddVolume('B', DRIVE_FIXED);  // searched before C:
    for (int i = 1; i <= 20; ++i) sim.files.AddDirectory("B:\\F" + std::to_string(i));
    for (int i = 0; i < 40; ++i) sim.files.AddFile("B:\\Many\\f" + std::to_string(i), "");
    const DialogStep search = [](SimDialogView& window) { window.SendCommand(IDC_SEARCH); };
    Expect(kReady, [&](SimDialogView& window) {
        search(window);
        window.Escape();
    });
    Expect("Search canceled|Continue Search||ok edit browse search|keys to 1004", [](SimDialogView& window) {
        window.Press(IDOK);  // refused, and the keyboard stays on OK
    });
    sim.windows.ExpectMessageBox(IDOK);
    Expect("Search canceled|Continue Search||ok edit browse search|keys to 1", search);
    // B: and B:\F1 to B:\F14, a millisecond each.
    Expect("B:\\F14|Continue Search|||keys to 2", [](SimDialogView& window) { window.Escape(); }, 1);
    Expect("Search canceled|Continue Search||ok edit browse search|keys to 1004", Search);
    // B:\F15 to B:\F20 and B:\Many, then its first entries; then a slice among them alone.
    const DialogStep watch = [](SimDialogView&) {};
    Expect("B:\\Many|Continue Search|||keys to 2", watch, 1);
    Expect("B:\\Many|Continue Search|||keys to 2", watch, 1);
    Expect(kFound, Cancel);
    EXPECT_EQ(Ask(), "unchanged");
}

// Browse opens the picker, owned by the window, in the folder typed when it is one,
// else at the computer's top level (""); a folder chosen replaces the text, less a
// trailing backslash, and takes the keyboard, so that Enter presses OK. Any other
// answer leaves the text, with a box for a place that the programs cannot use.
TEST_F(FindGame, OkAcceptsOnlyADirectoryHoldingTheGameWhetherTypedOrChosenInThePicker) {
    // C:\ゲーム\機能 in a Japanese Windows' code page, 932: its last byte, 0x5C, is the second of 能.
    const std::string japanese = "C:\\\x83\x51\x81\x5B\x83\x80\\\x8B\x40\x94\x5C";
    sim.files.AddFile(japanese + "\\Drifthvn.exe", "");
    sim.files.AddFile("C:\\\x94\x5C\\Drifthvn.exe", "");  // 能 typed alone: a folder of the current drive
    // What is typed, in which code page, and what the window hands back; refused
    // with a box, the window stays as it was. With Browse pressed first: the picker's
    // answer, with D:\ as the folder, where it opened ("|" for its top level), and
    // the box it made the window show.
    const struct { std::string typed; std::string result; UINT codePage = 1252; int pick = -1;
                   std::string opened = ""; UINT message = 0; } cases[] = {
        {"C:\\Games\\Drifthaven\\", "accepted C:\\Games\\Drifthaven"},
        {"C:\\Games\\Drifthaven\\\\", "accepted C:\\Games\\Drifthaven\\"},
        {"C:\\Other", "accepted C:\\Other"},  // a directory named like the game counts
        {"C:\\Games", "unchanged"}, {"", "unchanged"},  // "": "\Drifthvn.exe", the root of the current drive
        {"D:", "accepted D:"}, {"C:", "unchanged"},  // any drive: OK only asks whether the file is there
        {japanese, "accepted " + japanese, 932}, {japanese + "\\", "accepted " + japanese, 932},
        {japanese, "accepted " + japanese.substr(0, japanese.size() - 1)},  // in code page 1252 a backslash
        {"\x94\x5C", "accepted \x94\x5C", 932},  // its first byte leads the character
        {"C:\\Games\\", "accepted D:", 1252, PICK_FOLDER, "C:\\Games\\|"},
        {"C:", "unchanged", 1252, PICK_CANCELLED, "C:|"},
        {"C:\\Games\\Drifthaven\\Drifthvn.exe", "accepted D:", 1252, PICK_FOLDER, "|"},  // a file is no folder
        {"C:\\Games\\Drifthaven", "accepted C:\\Games\\Drifthaven", 1252, PICK_NOT_FILE_SYSTEM,
         "C:\\Games\\Drifthaven|", IDS_NOT_A_DISK_FOLDER},
        {"C:\\Nowhere", "unchanged", 1252, PICK_NOT_IN_CODE_PAGE, "|", IDS_NAME_NOT_IN_CODE_PAGE},
    };
    const auto box = [](UINT text) { return FindStringText(text) + std::string("|Incorrect Directory|48\n"); };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        sim.runtime.codePage = c.codePage;
        std::string opened;
        sim.windows.picker = [&](SimDialogView& owner, const std::string& start, std::string& chosen) {
            opened += (owner.Handle() == dialog.Handle() ? start : "unowned") + "|";
            return chosen = "D:\\", c.pick;  // the folder counts only when chosen
        };
        Expect(kReady, [&c](SimDialogView& window) {
            window.Type(IDC_PATH, c.typed);
            if (c.pick >= 0) window.Press(IDC_BROWSE);
            EXPECT_EQ(window.Text(IDC_PATH), c.pick == PICK_FOLDER ? "D:" : c.typed);  // the folder less its backslash
            c.pick == PICK_FOLDER ? window.Enter() : window.Press(IDOK);
        });
        const bool refused = c.result == "unchanged";
        if (c.message != 0) sim.windows.ExpectMessageBox(IDOK);
        if (refused) {
            sim.windows.ExpectMessageBox(IDOK);
            Expect("Ready|Start Search|" + c.typed + "|ok edit browse search|keys to 1", Cancel);  // OK was clicked
        }
        const size_t boxes = sim.windows.MessageBoxes().size();
        EXPECT_EQ(Ask(), c.result);
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(Boxes(sim, boxes), (c.message ? box(c.message) : "") + (refused ? box(IDS_NOT_IN_DIRECTORY) : ""));
    }
}

}  // namespace
