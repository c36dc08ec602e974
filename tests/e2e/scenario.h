// End-to-end scenarios as data: the installation and registry to start from,
// what the player does, and what the player must see and the machine must hold
// afterwards. One runner plays every row against the real programs under Wine.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "driver.h"
#include "resources/resource_ids.h"

struct ProgramCase {
    const char* exe;
    const char* title;
    const char* captions;  // Play, Readme, Visit site, Cancel, each followed by "|"
};
extern const ProgramCase kValkor;
extern const ProgramCase kNovalkor;

// Fixed places in the test prefix, laid out by tests/e2e/run.sh.
extern const char kLaunchers[];
extern const char kTools[];
extern const char kSample[];
const DWORD kWait = 30000;

// The test's own copy of the sample installation, registered as the game's,
// with the notice accepted; an arrangement changes it before the first start
// (and may move it to another disk).
struct Scene {
    std::string root;     // C:\e2e\<scenario>
    std::string install;  // root\Drifthaven
    std::string logs;
};

// Every act is a person's: the pointer and the keyboard through the system's
// input queue, on the window as the screen shows it; Post alone is not.
enum class Act {
    Start,     // program, with the command-line tail text (and first copied into a folder of its own)
    Window,    // waits for the program's window captioned text; later acts go to it
    Launcher,  // the launcher window of program: captions, hidden taunt button, picture
    Box,       // waits for a message box: its caption (the program's title unless given), text; clicks the button id
    NoBox,     // no message box is shown
    Click,     // a click on the control id of the current window
    Type,      // a click into the edit box id (unless it has the focus), its text selected, text typed over it
    Key,       // the key id, with the key modifier held
    Focus,     // the control id has the keyboard focus (0: none has it)
    Item,      // the control id shows text
    Until,     // waits until the control id shows text (a running search), as long as it keeps changing
    CloseBox,  // a click on the window's close box
    Post,      // the command of button id posted to the window, as no person can send it
    End,       // the program ends by itself within the wait, with exit code 0
    Playing,   // waits until a clip has begun to sound
    Played,    // waits until what sounds has come to its end
};

struct Step {
    Act act;
    std::string text = {};
    int id = 0;
    const ProgramCase* program = nullptr;
    std::string caption = {};  // Box: the message box's, when not the program's title
    const char* folder = nullptr;   // Start: the program is copied first into this folder of the scenario's own
    int modifier = 0;
};

inline Step Start(const ProgramCase& program, std::string tail = "") {
    return {.act = Act::Start, .text = tail, .program = &program};
}
inline Step StartCopy(const ProgramCase& program, const char* folder) {
    return {.act = Act::Start, .program = &program, .folder = folder};
}
inline Step Window(std::string caption) { return {.act = Act::Window, .text = caption}; }
inline Step Launcher(const ProgramCase& program) { return {.act = Act::Launcher, .program = &program}; }
inline Step Box(std::string text, int answer = IDOK, std::string caption = "") {
    return {.act = Act::Box, .text = text, .id = answer, .caption = caption};
}
inline Step NoBox() { return {.act = Act::NoBox}; }
inline Step Click(int id) { return {.act = Act::Click, .id = id}; }
inline Step Type(int id, std::string text) { return {.act = Act::Type, .text = text, .id = id}; }
inline Step Key(int vk, int modifier = 0) { return {.act = Act::Key, .id = vk, .modifier = modifier}; }
inline Step Tab() { return Key(VK_TAB); }
inline Step Escape() { return Key(VK_ESCAPE); }
inline Step Focus(int id) { return {.act = Act::Focus, .id = id}; }
inline Step Item(int id, std::string text) { return {.act = Act::Item, .text = text, .id = id}; }
inline Step Until(int id, std::string text) { return {.act = Act::Until, .text = text, .id = id}; }
inline Step CloseBox() { return {.act = Act::CloseBox}; }
inline Step Post(int id) { return {.act = Act::Post, .id = id}; }
inline Step End() { return {.act = Act::End}; }
inline Step Playing() { return {.act = Act::Playing}; }
inline Step Played() { return {.act = Act::Played}; }

// A text of the programs' string table, with its arguments put in ("%1"), as
// the programs show it.
std::string Text(UINT id, std::vector<std::string> arguments = {});
inline std::string Text(UINT id, const char* argument) { return Text(id, std::vector<std::string>{argument}); }

// A registry value as the programs see it (32-bit view of HKLM); type 0: absent.
// Its data may hold "$install".
struct RegValue {
    const char* key;
    const char* name;
    DWORD type;
    std::string data;
};

extern const char kGameKey[];
extern const char kModKey[];
// "$install" in a text stands for the scenario's installation directory, "$root"
// for its own folder.
std::string Expand(const std::string& text, const Scene& scene);

struct Scenario {
    const char* name;
    void (*arrange)(Scene&) = nullptr;  // nullptr: the sample as it is
    std::vector<Step> steps = {};
    // What the stand-in game recorded, a line a start; empty: the game was never started.
    std::vector<const char*> games = {};
    // The expected flux.ini (a file of C:\expected, or a path with "$root"), or
    // nullptr: as the arrangement left it.
    const char* flux = nullptr;
    std::vector<RegValue> registry = {};
    // What reached the sound device, as a pattern over its clips in order: "154"
    // that whole clip, "cut" a part of one, ", " between clips, "" nothing;
    // nullptr: not listened to.
    const char* heard = nullptr;
    // What the stand-in browser was asked to open, a line each.
    std::vector<const char*> opened = {};
    // A folder of the scenario's own with a WINMM.DLL planted in it (planted_winmm.cpp),
    // for StartCopy into it, with Wine looking there first as Windows does: no start may load it.
    const char* planted = nullptr;
};
void PrintTo(const Scenario& scenario, std::ostream* out);

void RunScenario(const Scenario& scenario);

// Helpers for arrangements.
void SetGameValue(const char* name, DWORD type, const std::string& data);
void DeleteKey(const char* key);
// A file of the given size and last-write time (a 64-bit file time, as high and low halves).
void MakeFile(const std::string& path, DWORD size, DWORD timeHigh, DWORD timeLow);
// Holds the file open, as another program would, until the scenario's programs
// have ended: others may read it, but not write it or hold it alone.
void HoldOpen(const std::string& path);
// Where tests/e2e/run.sh mounts a disk of a few MiB of its own (a tmpfs): the
// folder, and a file that is there only while the disk is mounted.
extern const char kSmallDisk[];
extern const char kSmallDiskMounted[];
