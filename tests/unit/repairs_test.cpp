// The repairs of the game's key and the version detection in the simulated
// Windows, one table of paths: what the player does; then everything the player
// sees in order, the key afterwards with types and bytes, how the key was
// created, the result, and no key left open but the one the rebuild hands back.
#include <gtest/gtest.h>
#include <sstream>
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

enum Call { Rebuild, CorrectPath, Recover, Correct, Detect };
// The engine library: the two known builds, nothing, a directory of its name,
// and entries that differ from build 14 in one thing: no bytes, a second later,
// build 12's time, the high half of the time.
enum Library { Build14, Build12, Missing, Directory, Empty, SecondLate, MixedRows, HighHalfOff };

// What the player does: Y, N, O: a box answered Yes, No, OK; D: kGame typed with
// a trailing backslash in the find-game window and OK, F-: Cancel; V<text>: typed
// in the version window and OK, V-: Cancel; E<text>: typed and Enter, E-: Escape.
// What the player sees: N or N:arg: box N formatted with arg; F113, F117: the
// find-game window with that caption; V46, V47: the version window with that
// prompt; S: the game started.
// The key afterwards, "InstallPath|Version" (- when missing; G: kGame as a string
// with its zero), then the access of each create; the result, then for Recover and
// Correct the caller's version. refused: "create 2", the second RegCreateKeyExA
// fails; also "set", "close".
struct RepairCase {
    const char *name;
    Call call;
    Library library;
    const char *refused, *player, *seen, *key, *result;
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::string> Tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

std::string Seen(const std::string& token) {
    if (token == "S") return std::string("shell Drifthvn.exe in ") + kGame + " show 2";
    const UINT id = static_cast<UINT>(std::stoul(token.substr(token[0] == 'F' || token[0] == 'V' ? 1 : 0)));
    if (token[0] == 'F')
        return std::string("find ") + FindStringText(id) + " | " + FindStringText(id == 113 ? 114 : 116);
    if (token[0] == 'V') return std::string("version ") + FindStringText(id);
    const size_t colon = token.find(':');
    // Questions with No as default, questions, notices; the rest are errors with the stop icon.
    const char* style =
        id == 115 || id == 120 ? "0x124" : id == 43 || id == 112 ? "0x24" : id == 45 || id == 53 ? "0x40" : "0x10";
    return "message box " +
           FormatMessageText(FindStringText(id), {colon == std::string::npos ? "" : token.substr(colon + 1)}) +
           " | " + kTitle + " | " + style;
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
        const FILETIME times[] = {time14, time12, {}, time14, time14, {time14.dwLowDateTime + 10000000, 0x01C14B80},
                                  time12, {time14.dwLowDateTime, 0x01C14B81}};
        if (library == Directory) sim.files.AddDirectory(path);
        if (library != Missing && library != Directory)
            sim.files.AddFile(path, std::string(library == Build12 ? 1544192 : library == Empty ? 0 : 1556480, 'x'));
        sim.files.SetLastWrite(path, times[library]);
    }

    void Script(const std::string& player) {
        for (const std::string& act : Tokens(player)) {
            if (act.size() == 1 && act != "D" && act != "V" && act != "E") {
                sim.windows.ExpectMessageBox(act == "Y" ? IDYES : act == "N" ? IDNO : IDOK);
            } else if (act == "D" || act == "F-") {
                sim.windows.ExpectDialog(IDD_FIND_GAME, [this, act](SimDialogView& window) {
                    sim.log.Add("find " + window.Caption() + " | " + window.Text(IDC_EXPLANATION));
                    if (act == "D") window.Type(IDC_PATH, std::string(kGame) + "\\");
                    window.Press(act == "D" ? IDOK : IDCANCEL);
                });
            } else {
                sim.windows.ExpectDialog(IDD_VERSION, [this, act](SimDialogView& window) {
                    sim.log.Add("version " + window.Text(IDC_PROMPT));
                    EXPECT_EQ(window.Caption() + "|" + window.Text(IDOK) + "|" + window.Text(IDCANCEL),
                              "Enter Drifthaven Version|OK|Cancel");
                    EXPECT_EQ(window.Focus(), IDC_VERSION);
                    const bool keys = act[0] == 'E', cancel = act.substr(1) == "-";
                    if (!cancel) window.Type(IDC_VERSION, act.substr(1));
                    if (keys && cancel)
                        window.Escape();
                    else if (keys)
                        window.Enter();
                    else
                        window.Press(cancel ? IDCANCEL : IDOK);
                });
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
    sim.registry.inject = [refused = std::string(c.refused), count = 0](RegOp op, const std::string&,
                                                                        const std::string&) mutable {
        const RegOp failing = refused[0] == 'c' ? (refused[1] == 'r' ? RegOp::Create : RegOp::Close) : RegOp::Set;
        return !refused.empty() && op == failing && ++count == refused.back() - '0' ? LONG(ERROR_ACCESS_DENIED)
                                                                                  : LONG(ERROR_SUCCESS);
    };
    Script(c.player);

    HKEY key = nullptr;
    std::string& path = launcher.m_strInstallPath;
    std::string result = c.call == Rebuild       ? std::to_string(launcher.RebuildSettingsKey(key))
                         : c.call == CorrectPath ? std::to_string(launcher.CorrectInstallPath(path))
                         : c.call == Recover     ? std::to_string(launcher.RecoverVersion(version)) + " "
                         : c.call == Correct     ? std::to_string(launcher.CorrectVersion(version)) + " "
                                                 : std::to_string(launcher.DetectVersion());
    if (c.call == Recover || c.call == Correct) result += std::to_string(version);

    std::vector<std::string> expected, seen;
    for (const std::string& token : Tokens(c.seen)) expected.push_back(Seen(token));
    for (const std::string& event : sim.log.Events())
        for (const char* prefix : {"message box ", "find ", "version ", "shell "})
            if (event.rfind(prefix, 0) == 0) seen.push_back(event);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    std::string shown = sim.registry.HasKey(GAME_SETTINGS_KEY) ? Value("InstallPath") + "|" + Value("Version")
                                                               : "no key";
    for (const std::string& create : sim.registry.creates) {
        const std::string access = create.substr(create.find(" access ") + 8, 7);
        shown += access == "0x20006" ? " W" : access == "0x2001f" ? " RW" : " " + access;
        EXPECT_EQ(create, "software\\vortigen\\drifthaven\\settings access " + access + " class \"\" options 0 " +
                              "security " + std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0");
    }
    EXPECT_EQ(shown, c.key[0] == 'G' ? "sz " + std::string(kGame) + "\\0" + (c.key + 1) : c.key);
    EXPECT_EQ(result, c.result);
    // The directory serves as soon as the player accepts it, stored or not.
    EXPECT_EQ(path, std::string(c.player).find('D') != std::string::npos ? kGame : start);
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
    {"rebuild, finder cancelled", Rebuild, Build14, "", "Y F-", "115 F113", "no key", "0"},
    {"rebuild", Rebuild, Build14, "", "Y D O Y", "115 F113 45:14 43:14", "G|dword 0e000000 W RW", "1"},
    {"rebuild, close refused", Rebuild, Build14, "close 1", "Y D O Y", "115 F113 45:14 43:14",
      "G|dword 0e000000 W RW", "1"},
    {"rebuild typed", Rebuild, Empty, "", "Y D N V16909060 Y", "115 F113 112 V47 43:16909060",
      "G|dword 04030201 W RW", "1"},
    {"rebuild, not stored", Rebuild, Build14, "", "Y D O N", "115 F113 45:14 43:14", "G|- W", "0"},
    {"rebuild, no library", Rebuild, Missing, "", "Y D O", "115 F113 49", "G|- W", "0"},
    {"rebuild, version left with escape", Rebuild, Directory, "", "Y D N E-", "115 F113 112 V47", "G|- W", "0"},
    {"rebuild, create refused", Rebuild, Build14, "create 1", "Y D O", "115 F113 50", "no key W", "0"},
    {"rebuild, path refused", Rebuild, Build14, "set 1", "Y D O", "115 F113 51", "-|- W", "0"},
    {"rebuild, second create refused", Rebuild, Build14, "create 2", "Y D O Y O", "115 F113 45:14 43:14 44",
      "G|- W RW", "0"},
    {"rebuild, version refused", Rebuild, Build14, "set 2", "Y D O Y O", "115 F113 45:14 43:14 48", "G|- W RW", "0"},
    {"path chosen", CorrectPath, Build14, "", "D", "F117", "G|dword 0e000000 W", "1"},
    {"path, create refused", CorrectPath, Build14, "create 1", "D O", "F117 50",
      "sz C:\\Wrong\\0|dword 0e000000 W", "1"},
    {"path, write refused", CorrectPath, Build14, "set 1", "D O", "F117 51", "sz C:\\Wrong\\0|dword 0e000000 W", "1"},
    {"recovered", Recover, Build14, "", "O O Y", "53 45:14 43:14", "G|dword 0e000000 W", "1 14"},
    {"recovered, not stored", Recover, Build12, "", "O O N", "53 45:12 43:12", "G|-", "1 12"},
    {"recovery, game started", Recover, SecondLate, "", "O Y V-", "53 112 S V46", "G|-", "0 0"},
    {"recovered, create refused", Recover, Build14, "create 1", "O O Y O", "53 45:14 43:14 44", "G|- W", "1 14"},
    {"recovered, write refused", Recover, Build14, "set 1", "O O Y O", "53 45:14 43:14 48", "G|- W", "1 14"},
    {"correction declined", Correct, Build12, "", "N", "120", "G|dword 0d000000", "0 13"},
    {"corrected to 12", Correct, Build12, "", "Y O Y", "120 45:12 43:12", "G|dword 0c000000 W", "1 12"},
    {"corrected, not stored", Correct, MixedRows, "", "Y N E16 N", "120 112 V47 43:16", "G|dword 0d000000", "1 16"},
    {"corrected to 0", Correct, HighHalfOff, "", "Y N V0", "120 112 V47", "G|dword 0d000000", "0 0"},
    {"correction, no library", Correct, Missing, "", "Y O", "120 49", "G|dword 0d000000", "0 0"},
    {"typed as text", Detect, Empty, "", "Y Vabc", "112 S V46", "G|dword 0e000000", "0"},
    {"typed as nothing", Detect, SecondLate, "", "N V", "112 V47", "G|dword 0e000000", "0"},
    {"typed too large", Detect, HighHalfOff, "", "N V4294967296", "112 V47", "G|dword 0e000000", "0"},
};

INSTANTIATE_TEST_SUITE_P(Cases, Repairs, ::testing::ValuesIn(kRepairCases),
                         CaseName<::testing::TestParamInfo<RepairCase>>);

}  // namespace
