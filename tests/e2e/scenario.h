// End-to-end scenarios as data: the installation and registry to start from,
// what the player does, and what the player must see and the machine must hold
// afterwards. One runner plays every row against the real programs under Wine.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "driver.h"
#include "resources/resource_ids.h"

// A program: its file, its title, and its buttons' captions (Play, Readme, Visit site,
// Cancel, the hidden taunt button, each followed by "|").
struct ProgramCase {
    const char *exe, *title, *captions;
};
inline const ProgramCase kValkor = {"valkor.exe", "Corvane 2: Drifthaven: Valkor",
                                    "Play|Readme|Visit Mirefall|Cancel|Taunt-Be-Good (hidden)|"};
inline const ProgramCase kNovalkor = {"novalkor.exe", "Corvane 2: Drifthaven",
                                      "Play|Readme|Visit Corvane Site|Cancel|Taunt-Be-Good (hidden)|"};

inline constexpr char kGameKey[] = "Software\\Vortigen\\Drifthaven\\Settings";
inline constexpr char kModKey[] = "Software\\Vortigen\\Drifthaven\\Mods\\Valkormod";
// Where tests/e2e/run.sh mounts a disk of a few MiB of its own (a tmpfs), with a
// file "mounted" that is there only while the disk is mounted.
inline constexpr char kSmallDisk[] = "C:\\small_disk";

// The test's own copy of the sample installation, registered as the game's,
// with the notice accepted; an arrangement changes it before the first start
// (and may move it to another disk).
// Its folders: root C:\e2e\<scenario>, which holds the stand-ins' log, and install root\Drifthaven.
// An arrangement may hold a file open, as another program would, until the row's programs have ended.
struct Scene {
    std::string root, install;
    HANDLE held = INVALID_HANDLE_VALUE;
};

// Every act is a person's: the pointer and the keyboard through the system's
// input queue, on the window as the screen shows it; Post alone is not. Each
// program started must end by itself, with exit code 0, within the wait: before
// the next start and at the row's end.
enum class Act {
    Start,     // program, with the command-line tail text (and first copied into a folder of its own)
    Window,    // waits for the program's window captioned text; later acts go to it
    Launcher,  // the launcher window of the program: captions, hidden taunt button; then a click on id, if any
    Box,       // waits for a message box: its caption (the program's title unless given), text; clicks the button id
    Click,     // a click on the control id of the current window
    Type,      // a click into the edit box id (unless it has the focus), its text selected, text typed over it
    Key,       // the key id, with the key modifier held
    Focus,     // the control id has the keyboard focus (0: none has it)
    Item,      // the control id shows text
    Until,     // waits until the control id shows text (a running search), as long as it keeps changing
    CloseBox,  // a click on the window's close box
    Post,      // the command of button id posted to the window, as no person can send it
    Playing,   // waits until a clip of the program started last has begun to sound
    Played,    // waits until what that program sounds has come to its end
    Scaled,    // the current window as the prefix's display scale shows it (display_scale.cpp)
};

// Box's caption: the message box's, when not the program's title; Start's folder: one of the
// scenario's own that the programs are copied into first.
struct Step {
    Act act;
    std::string text = {}, caption = {};
    int id = 0, modifier = 0;
    const ProgramCase* program = nullptr;
    const char* folder = nullptr;
};

// A text of the programs' string table, with its arguments put in ("%1"), as
// the programs show it.
std::string Text(UINT id, std::vector<std::string> arguments = {});

inline Step Start(const ProgramCase& program, std::string tail = "", const char* folder = nullptr) {
    return {.act = Act::Start, .text = tail, .program = &program, .folder = folder};
}
inline Step Window(UINT caption) { return {.act = Act::Window, .text = Text(caption)}; }
// Windows' folder picker of the programs (Vista's common item dialog, as Wine 8 shows it too); its
// folder-name box is edt1 (dlgs.h).
inline const Step kPicker = {.act = Act::Window, .text = "Select Folder"};
inline Step Launcher(int click = 0) { return {.act = Act::Launcher, .id = click}; }
inline Step Box(UINT text, int answer = IDOK, std::vector<std::string> arguments = {}, UINT caption = 0) {
    return {.act = Act::Box, .text = Text(text, arguments), .caption = caption ? Text(caption) : "", .id = answer};
}
inline Step Click(int id) { return {.act = Act::Click, .id = id}; }
inline Step Type(int id, std::string text) { return {.act = Act::Type, .text = text, .id = id}; }
inline Step Key(int vk, int modifier = 0) { return {.act = Act::Key, .id = vk, .modifier = modifier}; }
inline Step Focus(int id) { return {.act = Act::Focus, .id = id}; }
inline Step Item(int id, std::string text) { return {.act = Act::Item, .text = text, .id = id}; }
inline Step Until(int id, std::string text) { return {.act = Act::Until, .text = text, .id = id}; }
inline Step CloseBox() { return {.act = Act::CloseBox}; }
inline Step Post(int id) { return {.act = Act::Post, .id = id}; }
inline Step Playing() { return {.act = Act::Playing}; }
inline Step Played() { return {.act = Act::Played}; }
inline Step Scaled() { return {.act = Act::Scaled}; }

// A registry value as the programs see it (32-bit view of HKLM); type 0: absent.
// Its data may hold "$install"; a string's terminating zero is added.
struct RegValue {
    const char *key, *name;
    DWORD type;
    std::string data;
};
inline std::string Dword(DWORD value) { return std::string(reinterpret_cast<const char*>(&value), 4); }

struct Scenario {
    const char* name;
    void (*arrange)(Scene&) = nullptr;  // nullptr: the sample as it is
    std::vector<Step> steps = {};
    // What the stand-ins recorded, a line each: the game a start, the browser a document or site
    // opened; empty: none was started.
    std::vector<const char*> logged = {};
    // The expected flux.ini (a file of C:\expected, or a path with "$root"), or
    // nullptr: as the arrangement left it.
    const char* flux = nullptr;
    std::vector<RegValue> registry = {};
    // What reached the sound device, as a pattern over its clips in order: "154"
    // that whole clip, "cut" a part of one, ", " between clips, "" nothing;
    // nullptr: not listened to.
    const char* heard = nullptr;
};
inline void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

// "$install" in a text of a row stands for the scenario's installation directory, "$root" for its own folder.
void RunScenario(const Scenario& scenario);

// Helpers for arrangements. A registry value; a string's terminating zero is added.
void SetValue(const char* key, const char* name, DWORD type, const std::string& text);
inline void SetGameValue(const char* name, DWORD type, std::string data) { SetValue(kGameKey, name, type, data); }
inline void DeleteKey(const char* key) { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key); }
// A file grown or cut to the given size, made with its folders when missing, and
// its last-write time set (a 64-bit file time, as high and low halves; 0: kept).
void MakeFile(const std::string& path, DWORD size, DWORD timeHigh = 0, DWORD timeLow = 0);
// A WINMM.DLL and a COMCTL32.DLL planted (planted_dll.cpp) in the scene's folder
// "planted", for a start of a copy there, with Wine looking there first as Windows
// does: no start may load either.
void PlantDlls(Scene& scene);

// The window fits a common screen of the display's scale above the taskbar, a
// screen reader has a name for each of its controls, and the program's comctl32
// is version 6 from the system's side-by-side store; for a launcher window (its
// program given), its picture fills its frame and is named after the program.
void CheckScaled(const Program& program, HWND window, const ProgramCase* launcher);
