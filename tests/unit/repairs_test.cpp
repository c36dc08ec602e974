// The repairs of the game's key and the version detection in the simulated
// Windows, one table of paths: everything the player sees in order and does
// there, the key afterwards with types and bytes, how the key was created, the
// result, and no key left open but the one the rebuild hands back.
#include <gtest/gtest.h>
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

// What the player sees, in order, and does there: a message box (its text with
// the argument put in) and the button pressed; the find-game window with its
// caption, where kGame is typed with a trailing backslash and OK pressed, or
// Cancel; the version window with its prompt, where a version is typed and OK
// pressed, or Cancel or Escape (0); the game started to read its version off.
struct Sight {
    enum Kind { MessageBox, Finder, VersionWindow, GameStarted } kind;
    UINT text = 0;
    int button = IDOK;
    const char* argument = "";  // the message's argument, or the version typed
};
Sight Box(UINT text, int button = IDOK, const char* argument = "") {
    return {Sight::MessageBox, text, button, argument};
}
Sight Finder(UINT caption, int button = IDOK) { return {Sight::Finder, caption, button}; }
Sight Version(UINT prompt, int button, const char* typed = "") { return {Sight::VersionWindow, prompt, button, typed}; }
const Sight kGameStarted{Sight::GameStarted};

// A registry call that fails with ERROR_ACCESS_DENIED: the call-th of its kind.
struct Refusal {
    RegOp op = RegOp::Open;
    int call = 0;  // 0: none
};

// kGame as the key's "InstallPath" holds it, a string with its zero.
const std::string kStored = "sz D:\\Corvane\\0|";

struct RepairCase {
    const char* name;
    Call call;
    Library library;
    Refusal refused = {};
    std::vector<Sight> steps;
    // The game's key afterwards: "InstallPath|Version" as Value() shows them ("-" when missing).
    std::string key;
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

    // The player's answer in each window of the steps, in order.
    void Script(const Sight& step) {
        if (step.kind == Sight::MessageBox) sim.windows.ExpectMessageBox(step.button);
        if (step.kind == Sight::Finder)
            sim.windows.ExpectDialog(IDD_FIND_GAME, [this, step](SimDialogView& window) {
                sim.log.Add("find " + window.Caption() + " | " + window.Text(IDC_EXPLANATION));
                if (step.button == IDOK) window.Type(IDC_PATH, std::string(kGame) + "\\");
                window.Press(step.button);
            });
        if (step.kind == Sight::VersionWindow)
            sim.windows.ExpectDialog(IDD_VERSION, [this, step](SimDialogView& window) {
                sim.log.Add("version " + window.Text(IDC_PROMPT));
                EXPECT_EQ(window.Caption() + "|" + window.Text(IDOK) + "|" + window.Text(IDCANCEL),
                          "Enter Drifthaven Version|OK|Cancel");
                EXPECT_EQ(window.Focus(), IDC_VERSION);
                if (step.button == IDOK) window.Type(IDC_VERSION, step.argument);
                step.button == 0 ? window.Escape() : window.Press(step.button);
            });
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
    std::string& path = launcher.m_strInstallPath = start;
    if (c.refused.call != 0) FailRegistry(sim, c.refused.op, "", c.refused.call, ERROR_ACCESS_DENIED);  // of any name
    std::vector<std::string> expected, seen;
    bool chosen = false;  // the directory serves as soon as the player accepts it, stored or not
    for (const Sight& step : c.steps) {
        Script(step);
        expected.push_back(Seen(step));
        chosen = chosen || (step.kind == Sight::Finder && step.button == IDOK);
    }

    HKEY key = nullptr;
    std::string result = c.call == Rebuild       ? std::to_string(launcher.RebuildSettingsKey(key))
                         : c.call == CorrectPath ? std::to_string(launcher.CorrectInstallPath(path))
                         : c.call == Recover     ? std::to_string(launcher.RecoverVersion(version)) + " "
                                                 : std::to_string(launcher.CorrectVersion(version)) + " ";
    if (c.call == Recover || c.call == Correct) result += std::to_string(version);

    for (const std::string& event : sim.log.Events())
        for (const char* prefix : {"message box ", "find ", "version ", "shell "})
            if (event.rfind(prefix, 0) == 0) seen.push_back(event);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    EXPECT_EQ(sim.registry.HasKey(GAME_SETTINGS_KEY) ? Value("InstallPath") + "|" + Value("Version") : "no key", c.key);
    // Each RegCreateKeyExA of the settings key, shown by its access.
    const std::string settings = "software\\vortigen\\drifthaven\\settings access ";
    const std::string end = " class \"\" options 0 security " + std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0";
    std::string creates;
    for (std::string create : sim.registry.creates) {
        create = create == settings + "0x20006" + end ? "W" : create == settings + "0x2001f" + end ? "RW" : create;
        creates += (creates.empty() ? "" : " ") + create;
    }
    EXPECT_EQ(creates, c.creates);
    EXPECT_EQ(result, c.result);
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
    {.name = "rebuild, finder cancelled", .call = Rebuild, .library = Build14,
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION, IDCANCEL)}, .key = "no key", .creates = "",
     .result = "0"},
    {.name = "rebuild, close refused, no key left open", .call = Rebuild, .library = Build14,
     .refused = {RegOp::Close, 1},
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, IDOK, "14"),
               Box(IDS_ASK_STORE_VERSION, IDYES, "14")},
     .key = kStored + "dword 0e000000", .creates = "W RW", .result = "1"},
    {.name = "rebuild typed", .call = Rebuild, .library = Empty,
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_ASK_START_GAME, IDNO),
               Version(IDS_PROMPT_VERSION, IDOK, "16909060"), Box(IDS_ASK_STORE_VERSION, IDYES, "16909060")},
     .key = kStored + "dword 04030201", .creates = "W RW", .result = "1"},
    {.name = "rebuild, not stored", .call = Rebuild, .library = Build14,
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, IDOK, "14"),
               Box(IDS_ASK_STORE_VERSION, IDNO, "14")},
     .key = kStored + "-", .creates = "W", .result = "0"},
    {.name = "rebuild, version left with escape", .call = Rebuild, .library = Directory,
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_ASK_START_GAME, IDNO),
               Version(IDS_PROMPT_VERSION, 0)},
     .key = kStored + "-", .creates = "W", .result = "0"},
    {.name = "rebuild, path refused", .call = Rebuild, .library = Build14, .refused = {RegOp::Set, 1},
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_ERROR_SETTING_DIRECTORY)},
     .key = "-|-", .creates = "W", .result = "0"},
    {.name = "rebuild, version refused", .call = Rebuild, .library = Build14, .refused = {RegOp::Set, 2},
     .steps = {Box(IDS_ASK_REBUILD, IDYES), Finder(IDS_FIND_CAPTION), Box(IDS_VERSION_DETECTED, IDOK, "14"),
               Box(IDS_ASK_STORE_VERSION, IDYES, "14"), Box(IDS_ERROR_SETTING_VERSION)},
     .key = kStored + "-", .creates = "W RW", .result = "0"},
    {.name = "path chosen", .call = CorrectPath, .library = Build14, .steps = {Finder(IDS_WRONG_PATH_CAPTION)},
     .key = kStored + "dword 0e000000", .creates = "W", .result = "1"},
    {.name = "path, create refused", .call = CorrectPath, .library = Build14, .refused = {RegOp::Create, 1},
     .steps = {Finder(IDS_WRONG_PATH_CAPTION), Box(IDS_ERROR_CREATING_REGISTRY_KEY)},
     .key = "sz C:\\Wrong\\0|dword 0e000000", .creates = "W", .result = "1"},
    {.name = "recovery, game started", .call = Recover, .library = SecondLate,
     .steps = {Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME, IDYES), kGameStarted,
               Version(IDS_PROMPT_AFTER_START, IDCANCEL)},
     .key = kStored + "-", .creates = "", .result = "0 0"},
    {.name = "recovered, create refused", .call = Recover, .library = Build14, .refused = {RegOp::Create, 1},
     .steps = {Box(IDS_ERROR_READING_VERSION), Box(IDS_VERSION_DETECTED, IDOK, "14"),
               Box(IDS_ASK_STORE_VERSION, IDYES, "14"), Box(IDS_ERROR_CREATING_KEY)},
     .key = kStored + "-", .creates = "W", .result = "1 14"},
    {.name = "correction declined", .call = Correct, .library = Build12, .steps = {Box(IDS_ASK_CORRECT_VERSION, IDNO)},
     .key = kStored + "dword 0d000000", .creates = "", .result = "0 13"},
    {.name = "corrected to 12", .call = Correct, .library = Build12,
     .steps = {Box(IDS_ASK_CORRECT_VERSION, IDYES), Box(IDS_VERSION_DETECTED, IDOK, "12"),
               Box(IDS_ASK_STORE_VERSION, IDYES, "12")},
     .key = kStored + "dword 0c000000", .creates = "W", .result = "1 12"},
    {.name = "corrected to 0", .call = Correct, .library = HighHalfOff,
     .steps = {Box(IDS_ASK_CORRECT_VERSION, IDYES), Box(IDS_ASK_START_GAME, IDNO),
               Version(IDS_PROMPT_VERSION, IDOK, "0")},
     .key = kStored + "dword 0d000000", .creates = "", .result = "0 0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Repairs, ::testing::ValuesIn(kRepairCases),
                         CaseName<::testing::TestParamInfo<RepairCase>>);

}  // namespace
