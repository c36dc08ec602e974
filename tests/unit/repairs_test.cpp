// The repairs of the game's key and the version detection in the simulated
// Windows, one table of paths: what the player does; then everything the player
// sees in order, the key afterwards with types and bytes, how the key was
// created, the result, and no key left open but the one the rebuild hands back.
#include <gtest/gtest.h>
#include <algorithm>
#include "case_names.h"
#include "launcher/format_message.h"
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "registry/registry_values.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

const char kTitle[] = "Corvane 2: Drifthaven: Valkor";
const char kGame[] = "D:\\Corvane";  // where the game is; the repairs start elsewhere

enum Call { Rebuild, CorrectPath, Recover, Correct };
// The engine library: the two known builds, a directory of its name, and entries
// that differ from build 14 in one thing: no bytes, a second later, the high half
// of the time.
enum Library { Build14, Build12, Directory, Empty, SecondLate, HighHalfOff };

// What the player does, in order: answers a message box, chooses the game's
// directory in the find-game window (kGame typed with a trailing backslash,
// then OK) or cancels it, types a version in the version window and presses OK,
// or cancels it (or presses Escape).
struct Act {
    enum Kind { Answer, ChooseGame, CancelFinder, TypeVersion, CancelVersion } kind;
    int answer = 0;
    const char* typed = "";
    bool escape = false;  // Escape instead of Cancel
};
const Act kYes{Act::Answer, IDYES}, kNo{Act::Answer, IDNO}, kOk{Act::Answer, IDOK};
const Act kChooseGame{Act::ChooseGame}, kCancelFinder{Act::CancelFinder}, kCancelVersion{Act::CancelVersion};
const Act kEscapeVersion{Act::CancelVersion, 0, "", true};
Act Typed(const char* version) { return {Act::TypeVersion, 0, version}; }

// What the player sees, in order: a message box (its text with the argument put
// in), the find-game window with its caption, the version window with its
// prompt, the game started to read its version off.
struct Sight {
    enum Kind { MessageBox, Finder, VersionWindow, GameStarted } kind;
    UINT text = 0;
    const char* argument = "";
};
Sight Box(UINT text, const char* argument = "") { return {Sight::MessageBox, text, argument}; }
Sight Finder(UINT caption) { return {Sight::Finder, caption}; }
Sight VersionWindow(UINT prompt) { return {Sight::VersionWindow, prompt}; }
const Sight kGameStarted{Sight::GameStarted};

// A registry call that fails with ERROR_ACCESS_DENIED: the call-th of its kind.
struct Refusal {
    RegOp op = RegOp::Open;
    int call = 0;  // 0: none
};

// The game's key afterwards: "InstallPath" and "Version" as Value() shows them
// ("-" when missing), or no key at all.
struct KeyAfter {
    const char* path;
    const char* version;
};
const KeyAfter kNoKey{nullptr, nullptr};
const char kStoredGame[] = "sz D:\\Corvane\\0";  // kGame as a string with its zero

struct RepairCase {
    const char* name;
    Call call;
    Library library;
    Refusal refused = {};
    std::vector<Act> player;
    std::vector<Sight> seen;
    KeyAfter key;
    const char* creates;  // the access of each RegCreateKeyExA: W to write, RW to read and write
    const char* result;   // the call's result; for Recover and Correct, then the caller's version
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

std::string Seen(const Sight& sight) {
    switch (sight.kind) {
    case Sight::GameStarted: return std::string("shell Drifthvn.exe in ") + kGame + " show 2";
    case Sight::Finder:
        return std::string("find ") + FindStringText(sight.text) + " | " +
               FindStringText(sight.text == IDS_FIND_CAPTION ? IDS_FIND_REBUILD : IDS_FIND_WRONG_PATH);
    case Sight::VersionWindow: return std::string("version ") + FindStringText(sight.text);
    case Sight::MessageBox: break;
    }
    // Questions with No as default, questions, notices; the rest are errors with the stop icon.
    const UINT id = sight.text;
    const char* style = id == IDS_ASK_REBUILD || id == IDS_ASK_CORRECT_VERSION            ? "0x124"
                        : id == IDS_ASK_STORE_VERSION || id == IDS_ASK_START_GAME         ? "0x24"
                        : id == IDS_VERSION_DETECTED || id == IDS_ERROR_READING_VERSION ? "0x40"
                                                                                          : "0x10";
    return "message box " + FormatMessageText(FindStringText(id), {sight.argument}) + " | " + kTitle + " | " + style;
}

class Repairs : public ::testing::TestWithParam<RepairCase> {
protected:
    Repairs() {
        InstallGame(sim);
        sim.files.AddVolume('D', DRIVE_FIXED);
        sim.files.AddFile(std::string(kGame) + "\\Drifthvn.exe", "MZ");
        sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", kGame);
        launcher.m_strTitle = kTitle;
        launcher.m_strInstallPath = kGame;
    }

    void PutLibrary(Library library) {
        const std::string path = std::string(kGame) + "\\bin\\release\\corv2.dll";
        const FILETIME time14{0x59F1CB00, 0x01C14B80}, time12{0x8161F600, 0x01C1066C};
        const FILETIME times[] = {time14, time12, time14, time14, {time14.dwLowDateTime + 10000000, 0x01C14B80},
                                  {time14.dwLowDateTime, 0x01C14B81}};
        if (library == Directory)
            sim.files.AddDirectory(path);
        else
            sim.files.AddFile(path, std::string(library == Build12 ? 1544192 : library == Empty ? 0 : 1556480, 'x'));
        sim.files.SetLastWrite(path, times[library]);
    }

    void Script(const std::vector<Act>& player) {
        for (const Act& act : player) {
            switch (act.kind) {
            case Act::Answer: sim.windows.ExpectMessageBox(act.answer); break;
            case Act::ChooseGame:
            case Act::CancelFinder:
                sim.windows.ExpectDialog(IDD_FIND_GAME, [this, act](SimDialogView& window) {
                    sim.log.Add("find " + window.Caption() + " | " + window.Text(IDC_EXPLANATION));
                    if (act.kind == Act::ChooseGame) window.Type(IDC_PATH, std::string(kGame) + "\\");
                    window.Press(act.kind == Act::ChooseGame ? IDOK : IDCANCEL);
                });
                break;
            case Act::TypeVersion:
            case Act::CancelVersion:
                sim.windows.ExpectDialog(IDD_VERSION, [this, act](SimDialogView& window) {
                    sim.log.Add("version " + window.Text(IDC_PROMPT));
                    EXPECT_EQ(window.Caption() + "|" + window.Text(IDOK) + "|" + window.Text(IDCANCEL),
                              "Enter Drifthaven Version|OK|Cancel");
                    EXPECT_EQ(window.Focus(), IDC_VERSION);
                    const bool accept = act.kind == Act::TypeVersion;
                    if (accept) window.Type(IDC_VERSION, act.typed);
                    if (act.escape)
                        window.Escape();
                    else
                        window.Press(accept ? IDOK : IDCANCEL);
                });
                break;
            }
        }
    }

    // The text of a REG_SZ with its zeros as \0, the bytes of a REG_DWORD in hex.
    std::string Value(const char* name) {
        const SimRegistry::Value* value = sim.registry.GetValue(GAME_SETTINGS_KEY, name);
        if (value == nullptr) return "-";
        std::string shown = value->type == REG_SZ ? "sz " : value->type == REG_DWORD ? "dword " : "other ";
        for (BYTE byte : value->data)
            shown += value->type != REG_SZ ? std::string{"0123456789abcdef"[byte / 16], "0123456789abcdef"[byte % 16]}
                     : byte == 0           ? std::string("\\0")
                                           : std::string(1, char(byte));
        return shown;
    }

    SimPlatform sim{{}};
    LauncherApp app{sim.platform, ValkorProfile()};
    LauncherDialog launcher{sim.platform, ValkorProfile(), app, nullptr};
};

TEST_P(Repairs, ShowTheirStepsAndLeaveTheKeyAsTheyReport) {
    const RepairCase& c = GetParam();
    PutLibrary(c.library);
    DWORD version = 0;
    const std::string start = c.call == Rebuild ? "" : c.call == CorrectPath ? "C:\\Wrong" : kGame;
    if (c.call == Rebuild) sim.registry.DeleteKey(GAME_SETTINGS_KEY);
    if (c.call == CorrectPath) sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", start);
    if (c.call == Recover) sim.registry.DeleteValue(GAME_SETTINGS_KEY, "Version");
    if (c.call == Correct) sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", version = 13);
    launcher.m_strInstallPath = start;
    sim.registry.inject = [refused = c.refused, count = 0](RegOp op, const std::string&, const std::string&) mutable {
        return refused.call != 0 && op == refused.op && ++count == refused.call ? LONG(ERROR_ACCESS_DENIED)
                                                                                : LONG(ERROR_SUCCESS);
    };
    Script(c.player);

    HKEY key = nullptr;
    std::string& path = launcher.m_strInstallPath;
    std::string result = c.call == Rebuild       ? std::to_string(launcher.RebuildSettingsKey(key))
                         : c.call == CorrectPath ? std::to_string(launcher.CorrectInstallPath(path))
                         : c.call == Recover     ? std::to_string(launcher.RecoverVersion(version)) + " "
                                                 : std::to_string(launcher.CorrectVersion(version)) + " ";
    if (c.call == Recover || c.call == Correct) result += std::to_string(version);

    std::vector<std::string> expected, seen;
    for (const Sight& sight : c.seen) expected.push_back(Seen(sight));
    for (const std::string& event : sim.log.Events())
        for (const char* prefix : {"message box ", "find ", "version ", "shell "})
            if (event.rfind(prefix, 0) == 0) seen.push_back(event);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    const bool keyThere = sim.registry.HasKey(GAME_SETTINGS_KEY);
    EXPECT_EQ(keyThere ? Value("InstallPath") + "|" + Value("Version") : "no key",
              c.key.path != nullptr ? std::string(c.key.path) + "|" + c.key.version : "no key");
    std::string creates;
    for (const std::string& create : sim.registry.creates) {
        const std::string access = create.substr(create.find(" access ") + 8, 7);
        const std::string shown = access == "0x20006" ? "W" : access == "0x2001f" ? "RW" : access;
        creates += (creates.empty() ? "" : " ") + shown;
        EXPECT_EQ(create, "software\\vortigen\\drifthaven\\settings access " + access + " class \"\" options 0 " +
                              "security " + std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0");
    }
    EXPECT_EQ(creates, c.creates);
    EXPECT_EQ(result, c.result);
    // The directory serves as soon as the player accepts it, stored or not.
    const bool chosen =
        std::any_of(c.player.begin(), c.player.end(), [](const Act& act) { return act.kind == Act::ChooseGame; });
    EXPECT_EQ(path, chosen ? kGame : start);
    for (const ShellRequest& game : sim.shell.requests)
        EXPECT_TRUE(game.cbSize == sizeof(SHELLEXECUTEINFOA) && game.fMask == SEE_MASK_ICON && game.hwnd == nullptr &&
                    game.verbNull && !game.parametersNull && game.parameters.empty() &&
                    game.hIcon == launcher.m_hSmallIcon);
    // Only a rebuilt key is handed back, and it can be read.
    sim.registry.inject = nullptr;
    EXPECT_EQ(sim.registry.OpenHandles(), key != nullptr ? 1 : 0);
    EXPECT_EQ(key != nullptr, c.call == Rebuild && result == "1");
    if (key != nullptr) {
        EXPECT_TRUE(ReadDword(sim.registry, key, "Version", version));
        sim.registry.CloseKey(key);
    }
    EXPECT_EQ(sim.files.OpenHandles(), 0);
}

const RepairCase kRepairCases[] = {
    {.name = "rebuild, finder cancelled", .call = Rebuild, .library = Build14, .player = {kYes, kCancelFinder},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION)}, .key = kNoKey, .creates = "", .result = "0"},
    {.name = "rebuild, close refused, no key left open", .call = Rebuild, .library = Build14, .refused = {RegOp::Close, 1},
     .player = {kYes, kChooseGame, kOk, kYes},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, "14"),
              Box(IDS_ASK_STORE_VERSION, "14")},
     .key = {kStoredGame, "dword 0e000000"}, .creates = "W RW", .result = "1"},
    {.name = "rebuild typed", .call = Rebuild, .library = Empty,
     .player = {kYes, kChooseGame, kNo, Typed("16909060"), kYes},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_ASK_START_GAME),
              VersionWindow(IDS_PROMPT_VERSION), Box(IDS_ASK_STORE_VERSION, "16909060")},
     .key = {kStoredGame, "dword 04030201"}, .creates = "W RW", .result = "1"},
    {.name = "rebuild, not stored", .call = Rebuild, .library = Build14, .player = {kYes, kChooseGame, kOk, kNo},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, "14"),
              Box(IDS_ASK_STORE_VERSION, "14")},
     .key = {kStoredGame, "-"}, .creates = "W", .result = "0"},
    {.name = "rebuild, version left with escape", .call = Rebuild, .library = Directory,
     .player = {kYes, kChooseGame, kNo, kEscapeVersion},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_ASK_START_GAME),
              VersionWindow(IDS_PROMPT_VERSION)},
     .key = {kStoredGame, "-"}, .creates = "W", .result = "0"},
    {.name = "rebuild, path refused", .call = Rebuild, .library = Build14, .refused = {RegOp::Set, 1},
     .player = {kYes, kChooseGame, kOk},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_ERROR_SETTING_DIRECTORY)}, .key = {"-", "-"},
     .creates = "W", .result = "0"},
    {.name = "rebuild, version refused", .call = Rebuild, .library = Build14, .refused = {RegOp::Set, 2},
     .player = {kYes, kChooseGame, kOk, kYes, kOk},
     .seen = {Box(IDS_ASK_REBUILD), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, "14"),
              Box(IDS_ASK_STORE_VERSION, "14"), Box(IDS_ERROR_SETTING_VERSION)},
     .key = {kStoredGame, "-"}, .creates = "W RW", .result = "0"},
    {.name = "path chosen", .call = CorrectPath, .library = Build14, .player = {kChooseGame},
     .seen = {Finder(IDS_WRONG_PATH_CAPTION)}, .key = {kStoredGame, "dword 0e000000"}, .creates = "W", .result = "1"},
    {.name = "path, create refused", .call = CorrectPath, .library = Build14, .refused = {RegOp::Create, 1},
     .player = {kChooseGame, kOk}, .seen = {Finder(IDS_WRONG_PATH_CAPTION), Box(IDS_ERROR_CREATING_REGISTRY_KEY)},
     .key = {"sz C:\\Wrong\\0", "dword 0e000000"}, .creates = "W", .result = "1"},
    {.name = "recovery, game started", .call = Recover, .library = SecondLate, .player = {kOk, kYes, kCancelVersion},
     .seen = {Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME), kGameStarted,
              VersionWindow(IDS_PROMPT_AFTER_START)},
     .key = {kStoredGame, "-"}, .creates = "", .result = "0 0"},
    {.name = "recovered, create refused", .call = Recover, .library = Build14, .refused = {RegOp::Create, 1},
     .player = {kOk, kOk, kYes, kOk},
     .seen = {Box(IDS_ERROR_READING_VERSION), Box(IDS_VERSION_DETECTED, "14"), Box(IDS_ASK_STORE_VERSION, "14"),
              Box(IDS_ERROR_CREATING_KEY)},
     .key = {kStoredGame, "-"}, .creates = "W", .result = "1 14"},
    {.name = "correction declined", .call = Correct, .library = Build12, .player = {kNo},
     .seen = {Box(IDS_ASK_CORRECT_VERSION)}, .key = {kStoredGame, "dword 0d000000"}, .creates = "", .result = "0 13"},
    {.name = "corrected to 12", .call = Correct, .library = Build12, .player = {kYes, kOk, kYes},
     .seen = {Box(IDS_ASK_CORRECT_VERSION), Box(IDS_VERSION_DETECTED, "12"), Box(IDS_ASK_STORE_VERSION, "12")},
     .key = {kStoredGame, "dword 0c000000"}, .creates = "W", .result = "1 12"},
    {.name = "corrected to 0", .call = Correct, .library = HighHalfOff, .player = {kYes, kNo, Typed("0")},
     .seen = {Box(IDS_ASK_CORRECT_VERSION), Box(IDS_ASK_START_GAME), VersionWindow(IDS_PROMPT_VERSION)},
     .key = {kStoredGame, "dword 0d000000"}, .creates = "", .result = "0 0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Repairs, ::testing::ValuesIn(kRepairCases),
                         CaseName<::testing::TestParamInfo<RepairCase>>);

}  // namespace
