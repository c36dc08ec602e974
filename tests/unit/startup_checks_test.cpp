// The start-up checks in the simulated Windows, one table of paths through the
// installation check, the repairs of the game's key and the version detection it
// calls, and the mod's registration: everything the player sees in order and
// does there, the keys afterwards with types and bytes, how keys were created,
// the result, and no key left open but the one the rebuild hands back; and the
// no-warranty notice in the whole start-up.
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <regex>
#include "launcher/format_message.h"
#include "platform/item_number.h"
#include "registry/registry_values.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

using namespace std::string_literals;
const char kTitle[] = "Corvane 2: Drifthaven: Valkor";
const std::string kGame = kGameDirectory, kWrong = "C:\\Wrong";
const char kSettings[] = GAME_SETTINGS_KEY;
using Arrange = std::function<void(SimPlatform&)>;

// A value written raw.
Arrange Put(const char* key, const char* name, DWORD type, const std::string& bytes) {
    return [=](SimPlatform& sim) { sim.registry.PutValue(key, name, type, {bytes.begin(), bytes.end()}); };
}
Arrange Path(const std::string& text) { return Put(kSettings, "InstallPath", REG_SZ, text); }
Arrange Agreed(DWORD type, const std::string& bytes) { return Put(MOD_KEY, "Agreed", type, bytes); }
const Arrange kVersion13 = Put(kSettings, "Version", REG_DWORD, "\x0d\0\0\0"s);
// Without a name, the whole key goes.
Arrange Drop(const char* key, const char* name) {
    return [=](SimPlatform& m) { name ? m.registry.DeleteValue(key, name) : m.registry.DeleteKey(key); };
}
// ERROR_ACCESS_DENIED for the call-th such call on the value or key of the name ("" for any).
Arrange Refuse(RegOp op, const char* name, int call) {
    return [=](SimPlatform& sim) { FailRegistry(sim, op, name, call, ERROR_ACCESS_DENIED); };
}
// The engine library: its size and last-write time (build 14's unless given), or a directory of its name (size -1).
Arrange Library(long size, FILETIME time = {0x59F1CB00, 0x01C14B80}) {
    return [=](SimPlatform& sim) {
        const std::string path = kGame + "\\bin\\release\\corv2.dll";
        size < 0 ? sim.files.AddDirectory(path) : sim.files.AddFile(path, std::string(size, 'x'));
        sim.files.SetLastWrite(path, time);
    };
}
// The two known builds.
const Arrange kBuild14 = Library(1556480), kBuild12 = Library(1544192, {0x8161F600, 0x01C1066C});

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
Sight Box(UINT text, int button = IDOK, const char* arg = "") { return {Sight::MessageBox, text, button, arg}; }
Sight Finder(UINT caption, int button = IDOK) { return {Sight::Finder, caption, button}; }
Sight Version(UINT prompt, int button, const char* typed = "") { return {Sight::VersionWindow, prompt, button, typed}; }
const Sight kGameStarted{Sight::GameStarted};

// Scripts the player's answer in the window of the step; returns the line the log shows of the window.
std::string Script(SimPlatform& sim, const Sight& step) {
    switch (step.kind) {
    case Sight::GameStarted: return "shell Drifthvn.exe in " + kGame + " show 2";
    case Sight::Finder:
        sim.windows.ExpectDialog(IDD_FIND_GAME, [&sim, step](SimDialogView& window) {
            sim.log.Add("find " + window.Caption() + " | " + window.Text(IDC_EXPLANATION));
            if (step.button == IDOK) window.Type(IDC_PATH, kGame + "\\");
            window.Press(step.button);
        });
        return std::string("find ") + FindStringText(step.text) + " | " +
               FindStringText(step.text == IDS_FIND_CAPTION ? IDS_FIND_REBUILD : IDS_FIND_WRONG_PATH);
    case Sight::VersionWindow:
        sim.windows.ExpectDialog(IDD_VERSION, [&sim, step](SimDialogView& window) {
            sim.log.Add("version " + window.Text(IDC_PROMPT));
            EXPECT_EQ(window.Caption() + "|" + window.Text(IDOK) + "|" + window.Text(IDCANCEL),
                      "Enter Drifthaven Version|OK|Cancel");
            EXPECT_EQ(window.Focus(), IDC_VERSION);
            if (step.button == IDOK) window.Type(IDC_VERSION, step.argument);
            step.button == 0 ? window.Escape() : window.Press(step.button);
        });
        return std::string("version ") + FindStringText(step.text);
    case Sight::MessageBox: break;
    }
    sim.windows.ExpectMessageBox(step.button);
    // Questions with No as default, questions, notices; the rest are errors with the stop icon.
    const UINT id = step.text;
    const char* style = id == IDS_ASK_REBUILD || id == IDS_ASK_CORRECT_VERSION            ? "0x124"
                        : id == IDS_ASK_STORE_VERSION || id == IDS_ASK_START_GAME         ? "0x24"
                        : id == IDS_VERSION_DETECTED || id == IDS_ERROR_READING_VERSION ? "0x40"
                                                                                          : "0x10";
    return "message box " + FormatMessageText(FindStringText(id), {step.argument}) + " | " + kTitle + " | " + style;
}

// The values of a key as "name type bytes|" each.
std::string Values(const SimPlatform& sim, const char* key) {
    if (!sim.registry.HasKey(key)) return "no key";
    std::string text;
    for (const char* name : {"InstallPath", "Agreed", "Version", "Unload"})
        if (const SimRegistry::Value* value = sim.registry.GetValue(key, name))
            text += name + (" " + std::to_string(value->type) + " ") +
                    std::string(value->data.begin(), value->data.end()) + "|";
    return text;
}
const std::string kStored = "InstallPath 1 C:\\Games\\Drifthaven\0|"s;
const std::string k14 = kStored + "Version 4 \x0e\0\0\0|"s, k13 = kStored + "Version 4 \r\0\0\0|"s;
const std::string kModValues = "Agreed 4 \1\0\0\0|Version 1 0.4Alpha\0|Unload 1 novalkor.exe -u\0|"s;

// A check of the launcher window, run on its own.
enum Call { InstallCheck, ReadAgreed, WriteMod, Rebuild, CorrectPath, Recover, Correct };

// The result is the check's, then the version for the version repairs, the
// directory the launcher holds for the others. What it leaves: the values of the
// key it is about (the mod's for the mod's checks), unchecked when not given; each
// RegCreateKeyExA by its access: W to write the settings key, RW to read and
// write it, M to set the mod's values.
struct CheckCase {
    const char* name;
    Call call;
    std::vector<Arrange> arrange;
    std::vector<Sight> steps;
    std::string result;
    std::optional<std::string> left = std::nullopt;
    const char* creates = "";
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class StartupChecks : public ::testing::TestWithParam<CheckCase> {
protected:
    StartupChecks() {
        InstallGame(sim);
        launcher.m_strTitle = kTitle;
    }
    ~StartupChecks() override { ExpectNothingLeft(sim); }
    SimPlatform sim{{}};
    LauncherApp app{sim.platform, ValkorProfile()};
    LauncherDialog launcher{sim.platform, ValkorProfile(), app, nullptr};
};

TEST_P(StartupChecks, ShowTheirStepsAndLeaveTheKeysAsTheyReport) {
    const CheckCase& c = GetParam();
    for (const Arrange& arrange : c.arrange) arrange(sim);
    std::vector<std::string> expected, seen;
    for (const Sight& step : c.steps) expected.push_back(Script(sim, step));
    // The version repairs start from the game's directory, the path's from the wrong one the key holds.
    std::string& path = launcher.m_strInstallPath = c.call >= Recover ? kGame : c.call == CorrectPath ? kWrong : "";
    DWORD version = c.call == Correct ? 13 : 0;
    HKEY key = nullptr;
    const std::function<BOOL()> calls[] = {
        [&] { return launcher.InstallCheck(); },           [&] { return launcher.ReadAgreed(); },
        [&] { return launcher.WriteModInfo(); },           [&] { return launcher.RebuildSettingsKey(key); },
        [&] { return launcher.CorrectInstallPath(path); }, [&] { return launcher.RecoverVersion(version); },
        [&] { return launcher.CorrectVersion(version); }};
    const BOOL passed = calls[c.call]();
    EXPECT_EQ(std::to_string(passed) + " " + (c.call >= Recover ? std::to_string(version) : path), c.result);

    for (const std::string& event : sim.log.Events())
        for (const char* prefix : {"message box ", "find ", "version ", "shell "})
            if (event.rfind(prefix, 0) == 0) seen.push_back(event);
    EXPECT_EQ(seen, expected);
    for (const MessageBoxRecord& box : sim.windows.MessageBoxes()) EXPECT_EQ(box.owner, nullptr);
    const char* about = c.call == ReadAgreed || c.call == WriteMod ? MOD_KEY : kSettings;
    if (c.left) { EXPECT_EQ(Values(sim, about), *c.left); }
    const std::string root = "software\\vortigen\\drifthaven\\";
    const std::string end = " class \"\" options 0 security " + std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0";
    const std::map<std::string, std::string> accesses = {{root + "settings access 0x20006" + end, "W"},
                                                         {root + "settings access 0x2001f" + end, "RW"},
                                                         {root + "mods\\valkormod access 0x2" + end, "M"}};
    std::string creates;
    for (const std::string& create : sim.registry.creates)
        creates += (creates.empty() ? "" : " ") + (accesses.count(create) ? accesses.at(create) : create);
    EXPECT_EQ(creates, c.creates);
    for (const ShellRequest& game : sim.shell.requests)
        EXPECT_EQ(Describe(game), "Drifthvn.exe|" + kGame + "|16|2|icon");
    // Only a rebuilt key is handed back, and it can be read.
    sim.registry.inject = nullptr;
    EXPECT_EQ(sim.registry.OpenHandles(), key != nullptr ? 1 : 0);
    EXPECT_EQ(key != nullptr, c.call == Rebuild && passed);
    if (key != nullptr) {
        EXPECT_TRUE(ReadDword(sim.registry, key, "Version", version));
        sim.registry.CloseKey(key);
    }
}

const std::string kMiB((1 << 20) - 1, 'a');
const Arrange kNoKey = Drop(kSettings, nullptr), kNoVersion = Drop(kSettings, "Version");
const Arrange kNoMod = Drop(MOD_KEY, nullptr), kWrongPath = Path(kWrong + "\0"s);

// The steps most paths share: the rebuild agreed to and the game's directory chosen, a version detected and the
// answer to storing it.
const Sight kRebuild = Box(IDS_ASK_REBUILD, IDYES), kFound = Finder(IDS_FIND_CAPTION);
Sight Detected(const char* version) { return Box(IDS_VERSION_DETECTED, IDOK, version); }
Sight Store(int answer, const char* version) { return Box(IDS_ASK_STORE_VERSION, answer, version); }
const Sight kCorrecting = Box(IDS_ASK_CORRECT_VERSION, IDYES), kUnreadable = Box(IDS_ERROR_READING_VERSION);
const Sight kStart = Box(IDS_ASK_START_GAME, IDYES), kNoStart = Box(IDS_ASK_START_GAME, IDNO);
const std::vector<Sight> kNoEngine = {kUnreadable, Box(IDS_ENGINE_MISSING), Box(IDS_NO_VERSION)};
const Sight kUnwritten = Box(IDS_ERROR_MOD_VALUES);

const CheckCase kCheckCases[] = {
    {"key absent, rebuild declined", InstallCheck, {kNoKey}, {Box(IDS_ASK_REBUILD, IDNO)}, "0 "},
    {"path unreadable", InstallCheck, {Refuse(RegOp::Query, "installpath", 2)}, {Box(IDS_ERROR_READING_PATH)}, "0 "},
    {"path of a MiB and a byte", InstallCheck, {Path(kMiB + "a\0"s)}, {Box(IDS_ERROR_READING_PATH)}, "0 "},
    {"path without its zero, read within its bytes (sanitized)", InstallCheck, {Path(kGame)}, {}, "1 " + kGame},
    {"path with zeros inside, cut at the first (sanitized)", InstallCheck, {Path(kGame + "\0junk\0"s)}, {},
     "1 " + kGame},
    {"path of a MiB", InstallCheck, {Path(kMiB + '\0')},
     {Finder(IDS_WRONG_PATH_CAPTION, IDCANCEL), Box(IDS_WRONG_INSTALL_PATH)}, "0 " + kMiB},
    {"version as text", InstallCheck, {Put(kSettings, "Version", REG_SZ, "14\0"s)}, kNoEngine, "0 " + kGame},
    {"version of 8 bytes, more than its buffer (sanitized)", InstallCheck,
     {Put(kSettings, "Version", REG_DWORD, "\x0e\0\0\0\0\0\0\0"s)}, kNoEngine, "0 " + kGame},
    {"version unreadable", InstallCheck, {Refuse(RegOp::Query, "version", 2)}, kNoEngine, "0 " + kGame},
    // Corrected from the engine library of a known build without storing the result.
    {"version corrected to 12", InstallCheck, {kVersion13, kBuild12},
     {kCorrecting, Detected("12"), Store(IDNO, "12"), Box(IDS_VERSION_REQUIRED)}, "0 " + kGame},
    {"version corrected to 14", InstallCheck, {kVersion13, kBuild14},
     {kCorrecting, Detected("14"), Store(IDNO, "14")}, "1 " + kGame},
    // The agreement counts only as a nonzero four-byte DWORD (1, as every other test's machine holds it): not
    // as another type of value, nor as a DWORD of other length.
    {"agreed 7 in the high byte", ReadAgreed, {Agreed(REG_DWORD, "\0\0\0\7"s)}, {}, "1 "},
    {"agreed 0", ReadAgreed, {Agreed(REG_DWORD, "\0\0\0\0"s)}, {}, "0 "},
    {"agreed binary 1", ReadAgreed, {Agreed(REG_BINARY, "\1\0\0\0"s)}, {}, "0 "},
    {"agreed no bytes", ReadAgreed, {Agreed(REG_DWORD, "")}, {}, "0 "},
    {"agreement missing", ReadAgreed, {Drop(MOD_KEY, "Agreed")}, {}, "0 "},
    {"no mod key", ReadAgreed, {kNoMod}, {}, "0 "},
    // Each failure leaves the values written before it.
    {"agreement not written", WriteMod, {kNoMod, Refuse(RegOp::Set, "agreed", 1)}, {kUnwritten}, "0 ", "", "M"},
    {"version not written", WriteMod, {kNoMod, Refuse(RegOp::Set, "version", 1)}, {kUnwritten}, "0 ",
     "Agreed 4 \1\0\0\0|"s, "M"},
    {"all written", WriteMod, {kNoMod}, {}, "1 ", kModValues, "M"},
    {"rebuild, finder cancelled", Rebuild, {kNoKey}, {kRebuild, Finder(IDS_FIND_CAPTION, IDCANCEL)}, "0 ", "no key"},
    {"rebuild, close refused, no key left open", Rebuild, {kNoKey, kBuild14, Refuse(RegOp::Close, "", 1)},
     {kRebuild, kFound, Detected("14"), Store(IDYES, "14")}, "1 " + kGame, k14, "W RW"},
    // An engine library of no bytes, a directory of its name: no known build.
    {"rebuild typed", Rebuild, {kNoKey, Library(0)},
     {kRebuild, kFound, kNoStart, Version(IDS_PROMPT_VERSION, IDOK, "16909060"), Store(IDYES, "16909060")},
     "1 " + kGame, kStored + "Version 4 \4\3\2\1|"s, "W RW"},
    {"rebuild, not stored", Rebuild, {kNoKey, kBuild14},
     {kRebuild, kFound, Detected("14"), Store(IDNO, "14")}, "0 " + kGame, kStored, "W"},
    {"rebuild, version left with escape", Rebuild, {kNoKey, Library(-1)},
     {kRebuild, kFound, kNoStart, Version(IDS_PROMPT_VERSION, 0)}, "0 " + kGame, kStored, "W"},
    {"rebuild, path refused", Rebuild, {kNoKey, Refuse(RegOp::Set, "", 1)},
     {kRebuild, kFound, Box(IDS_ERROR_SETTING_DIRECTORY)}, "0 " + kGame, "", "W"},
    {"rebuild, version refused", Rebuild, {kNoKey, kBuild14, Refuse(RegOp::Set, "", 2)},
     {kRebuild, kFound, Detected("14"), Store(IDYES, "14"), Box(IDS_ERROR_SETTING_VERSION)},
     "0 " + kGame, kStored, "W RW"},
    {"path chosen", CorrectPath, {kWrongPath}, {Finder(IDS_WRONG_PATH_CAPTION)}, "1 " + kGame, k14, "W"},
    {"path, create refused", CorrectPath, {kWrongPath, Refuse(RegOp::Create, "", 1)},
     {Finder(IDS_WRONG_PATH_CAPTION), Box(IDS_ERROR_CREATING_REGISTRY_KEY)}, "1 " + kGame,
     "InstallPath 1 C:\\Wrong\0|Version 4 \x0e\0\0\0|"s, "W"},
    // A library a second later than build 14's, and below one with the high half of its time one more: no known build.
    {"recovery, game started", Recover, {kNoVersion, Library(1556480, {0x59F1CB00 + 10000000, 0x01C14B80})},
     {kUnreadable, kStart, kGameStarted, Version(IDS_PROMPT_AFTER_START, IDCANCEL)}, "0 0", kStored},
    {"recovered, create refused", Recover, {kNoVersion, kBuild14, Refuse(RegOp::Create, "", 1)},
     {kUnreadable, Detected("14"), Store(IDYES, "14"), Box(IDS_ERROR_CREATING_KEY)}, "1 14", kStored, "W"},
    {"correction declined", Correct, {kVersion13}, {Box(IDS_ASK_CORRECT_VERSION, IDNO)}, "0 13", k13},
    {"corrected to 12", Correct, {kVersion13, kBuild12}, {kCorrecting, Detected("12"), Store(IDYES, "12")},
     "1 12", kStored + "Version 4 \x0c\0\0\0|"s, "W"},
    {"corrected to 0", Correct, {kVersion13, Library(1556480, {0x59F1CB00, 0x01C14B81})},
     {kCorrecting, kNoStart, Version(IDS_PROMPT_VERSION, IDOK, "0")}, "0 0", k13},
};

// Each case named by the letters and digits of its description.
INSTANTIATE_TEST_SUITE_P(Cases, StartupChecks, ::testing::ValuesIn(kCheckCases), [](const auto& row) {
    return std::regex_replace(row.param.name, std::regex("[^A-Za-z0-9]"), "");
});

// The notice, in the whole start-up on a machine where it was not accepted.
TEST_F(StartupChecks, OkToTheNoticeRecordsTheAgreementAndTheStartUpGoesOn) {
    sim.registry.PutString(MOD_KEY, "Agreed", "1");  // not a DWORD: not accepted
    sim.windows.ExpectDialog(IDD_DISCLAIMER, [](SimDialogView& notice) {
        const std::string texts = notice.Text(IDC_NOTICE) + "|" + notice.Text(IDOK) + "|" + notice.Text(IDCANCEL);
        EXPECT_EQ(notice.Caption() + "|" + texts, "No Warranty|"s + FindStringText(IDS_NOTICE) + "|OK|Cancel");
        EXPECT_EQ(notice.Focus(), IDOK);
        notice.Enter();
    });
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& w) { EXPECT_EQ(w.Caption(), kTitle); w.Escape(); });
    EXPECT_EQ(RunLauncher(sim, ValkorProfile()), IDCANCEL);
    EXPECT_EQ(Values(sim, MOD_KEY), kModValues);  // which every other test's machine holds: no notice there
}

// A typed version is read as Windows reads an unsigned number from an edit box:
// spaces before it skipped, digits up to the first other character, a sign no
// digit, a number beyond 32 bits none.
TEST(ItemNumber, ReadsAsWindowsReadsAnUnsignedNumber) {
    const std::pair<const char*, UINT> cases[] = {{"15", 15}, {"  15", 15}, {"15abc", 15}, {"abc", 0}, {"", 0},
                                                  {"-3", 0}, {"4294967295", 4294967295u}, {"4294967296", 0}};
    for (const auto& [text, number] : cases) EXPECT_EQ(UnsignedItemNumber(text), number) << '"' << text << '"';
}

}  // namespace
