// The repairs of the game's key and the version detection in the simulated
// Windows, one table of paths: what the player does; then everything the player
// sees in order, the key afterwards with types and bytes, how the key was
// created, the result, and no key left open but the one the rebuild hands back.
#include <gtest/gtest.h>
#include <iomanip>
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
const char kOther[] = "D:\\Corvane";  // the game as the player finds it

enum Call { Rebuild, CorrectPath, Recover, Correct, Detect };
// The engine library under the game's directory: known builds, and entries that
// must not pass for one.
enum Library { Build14, Build12, Missing, Directory, Empty, SecondLate, MixedRows, HighHalfOff };

struct RepairCase {
    const char* name;
    Call call;
    Library library;
    RegOp failing;  // this operation's n-th call is refused
    int nth;        // 0: nothing is refused
    // Y, N, O: a box answered Yes, No, OK; D: the find-game window given kOther
    // with a trailing backslash, F-: cancelled; V<text>: typed into the version
    // window with OK, V-: cancelled.
    const char* player;
    // N or N:arg: box N (formatted with arg); F113, F117: the find-game window
    // with that caption; V46, V47: the version window with that prompt; S: the
    // game started.
    const char* seen;
    const char* registry;  // "InstallPath|Version" afterwards, "-" for a missing value
    const char* creates;   // access of each create: W, RW
    DWORD result;
    DWORD version;  // the caller's version afterwards (Recover, Correct)
    const char* installPath;
};

void PrintTo(const RepairCase& c, std::ostream* out) { *out << c.name; }

std::vector<std::string> Tokens(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

std::string Hex(DWORD value, int width) {
    std::ostringstream out;
    out << std::hex << std::setw(width) << std::setfill('0') << value;
    return out.str();
}

std::string Seen(const std::string& token) {
    if (token == "S") return std::string("shell Drifthvn.exe in ") + kOther + " show 2";
    const UINT id = static_cast<UINT>(std::stoul(token.substr(token[0] == 'F' || token[0] == 'V' ? 1 : 0)));
    if (token[0] == 'F')
        return std::string("find ") + FindStringText(id) + " | " + FindStringText(id == 113 ? 114 : 116);
    if (token[0] == 'V') return std::string("version ") + FindStringText(id);
    const size_t colon = token.find(':');
    // Questions with No as default, questions, notices; the rest are errors with the stop icon.
    const UINT style =
        id == 115 || id == 120 ? 0x124 : id == 43 || id == 112 ? 0x24 : id == 45 || id == 53 ? 0x40 : 0x10;
    return "message box " +
           FormatMessageText(FindStringText(id), {colon == std::string::npos ? "" : token.substr(colon + 1)}) +
           " | " + kTitle + " | 0x" + Hex(style, 0);
}

class Repairs : public ::testing::TestWithParam<RepairCase> {
protected:
    Repairs() {
        InstallGame(sim);
        sim.files.AddVolume('D', DRIVE_FIXED);
        sim.files.AddFile(std::string(kOther) + "\\Drifthvn.exe", "MZ");
        launcher.m_strTitle = kTitle;
        launcher.m_strInstallPath = kOther;
    }

    void PutLibrary(Library library) {
        const std::string path = std::string(kOther) + "\\bin\\release\\corv2.dll";
        const FILETIME time14{0x59F1CB00, 0x01C14B80}, time12{0x8161F600, 0x01C1066C};
        const FILETIME late{time14.dwLowDateTime + 10000000, time14.dwHighDateTime};
        const FILETIME high{time14.dwLowDateTime, time14.dwHighDateTime + 1};
        const std::string size14(1556480, 'x');
        if (library == Directory) {
            sim.files.AddDirectory(path);
            sim.files.SetLastWrite(path, time14);
        } else if (library != Missing) {
            const FILETIME times[] = {time14, time12, {}, {}, time14, late, time12, high};
            sim.files.AddFile(path, library == Build12 ? std::string(1544192, 'x') : library == Empty ? "" : size14,
                              times[library]);
        }
    }

    void Script(const std::string& player) {
        for (const std::string& act : Tokens(player)) {
            if (act == "Y" || act == "N" || act == "O") {
                sim.windows.ExpectMessageBox(act == "Y" ? IDYES : act == "N" ? IDNO : IDOK);
            } else if (act[0] == 'D' || act == "F-") {
                sim.windows.ExpectDialog(IDD_FIND_GAME, [this, act](SimDialogView& window) {
                    sim.log.Add("find " + window.Caption() + " | " + window.Text(IDC_EXPLANATION));
                    if (act == "F-") return window.Press(IDCANCEL);
                    window.Type(IDC_PATH, std::string(kOther) + "\\");
                    window.Press(IDOK);
                });
            } else {
                sim.windows.ExpectDialog(IDD_VERSION, [this, act](SimDialogView& window) {
                    sim.log.Add("version " + window.Text(IDC_PROMPT));
                    EXPECT_EQ(window.Caption(), "Enter Drifthaven Version");
                    EXPECT_EQ(window.Focus(), IDC_VERSION);
                    EXPECT_EQ(window.Text(IDOK) + "|" + window.Text(IDCANCEL), "OK|Cancel");
                    if (act == "V-") return window.Press(IDCANCEL);
                    window.Type(IDC_VERSION, act.substr(1));
                    window.Press(IDOK);
                });
            }
        }
    }

    // A value as "sz <text>" with its zeros as \0, "dword <bytes in hex>", or "-".
    std::string Value(const char* name) {
        const SimRegistry::Value* value = sim.registry.GetValue(GAME_SETTINGS_KEY, name);
        if (value == nullptr) return "-";
        std::string shown = value->type == REG_SZ ? "sz " : value->type == REG_DWORD ? "dword " : "other ";
        for (BYTE byte : value->data)
            shown += value->type != REG_SZ ? Hex(byte, 2) : byte == 0 ? std::string("\\0") : std::string(1, char(byte));
        return shown;
    }

    std::string Creates() {
        std::string shown;
        const std::string fixed = std::string(" class \"\" options 0 security ") +
                                  std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0";
        for (const std::string& create : sim.registry.creates) {
            const std::string key = "software\\vortigen\\drifthaven\\settings access ";
            shown += shown.empty() ? "" : " ";
            shown += create == key + "0x20006" + fixed ? "W" : create == key + "0x2001f" + fixed ? "RW" : create;
        }
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
    sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", kOther);
    switch (c.call) {
    case Rebuild:
        sim.registry.DeleteKey(GAME_SETTINGS_KEY);
        launcher.m_strInstallPath.clear();
        break;
    case CorrectPath:
        sim.registry.PutString(GAME_SETTINGS_KEY, "InstallPath", launcher.m_strInstallPath = "C:\\Wrong");
        break;
    case Recover: sim.registry.DeleteValue(GAME_SETTINGS_KEY, "Version"); break;
    case Correct: sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", version = 13); break;
    case Detect: break;
    }
    sim.registry.inject = [&, count = 0](RegOp op, const std::string&, const std::string&) mutable {
        return op == c.failing && ++count == c.nth ? LONG(ERROR_ACCESS_DENIED) : LONG(ERROR_SUCCESS);
    };
    Script(c.player);

    HKEY key = nullptr;
    DWORD result = 0;
    switch (c.call) {
    case Rebuild: result = launcher.RebuildSettingsKey(key); break;
    case CorrectPath: result = launcher.CorrectInstallPath(launcher.m_strInstallPath); break;
    case Recover: result = launcher.RecoverVersion(version); break;
    case Correct: result = launcher.CorrectVersion(version); break;
    case Detect: result = launcher.DetectVersion(); break;
    }

    std::vector<std::string> expected, seen;
    for (const std::string& token : Tokens(c.seen)) expected.push_back(Seen(token));
    for (const std::string& event : sim.log.Events())
        for (const char* prefix : {"message box ", "find ", "version ", "shell "})
            if (event.rfind(prefix, 0) == 0) seen.push_back(event);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    EXPECT_EQ(sim.registry.HasKey(GAME_SETTINGS_KEY) ? Value("InstallPath") + "|" + Value("Version") : "no key",
              c.registry);
    EXPECT_EQ(Creates(), c.creates);
    EXPECT_EQ(result, c.result);
    if (c.call == Recover || c.call == Correct) {
        EXPECT_EQ(version, c.version);
    }
    EXPECT_EQ(launcher.m_strInstallPath, c.installPath);
    for (const ShellRequest& start : sim.shell.requests) {
        EXPECT_EQ(start.cbSize, sizeof(SHELLEXECUTEINFOA));
        EXPECT_EQ(start.fMask, static_cast<UINT>(SEE_MASK_ICON));
        EXPECT_TRUE(start.hwnd == nullptr && start.verbNull && !start.parametersNull && start.parameters.empty());
        EXPECT_EQ(start.hIcon, launcher.m_hSmallIcon);
    }
    // Only a rebuilt key is handed back, open for reading too.
    sim.registry.inject = nullptr;
    EXPECT_EQ(sim.registry.OpenHandles(), c.call == Rebuild && c.result ? 1 : 0);
    EXPECT_EQ(key != nullptr, c.call == Rebuild && c.result);
    if (key != nullptr) {
        EXPECT_TRUE(ReadDword(sim.registry, key, "Version", version));
        sim.registry.CloseKey(key);
    }
    EXPECT_EQ(sim.files.OpenHandles(), 0);
}

const char kWrong[] = "sz C:\\Wrong\\0|dword 0e000000";
const RegOp kNone = RegOp::Open;

const RepairCase kRepairCases[] = {
    {"rebuild declined", Rebuild, Build14, kNone, 0, "N", "115", "no key", "", FALSE, 0, ""},
    {"rebuild, finder cancelled", Rebuild, Build14, kNone, 0, "Y F-", "115 F113", "no key", "", FALSE, 0, ""},
    {"rebuild accepted", Rebuild, Build14, kNone, 0, "Y D O Y", "115 F113 45:14 43:14",
     "sz D:\\Corvane\\0|dword 0e000000", "W RW", TRUE, 0, kOther},
    {"rebuild, a close refused", Rebuild, Build14, RegOp::Close, 1, "Y D O Y", "115 F113 45:14 43:14",
     "sz D:\\Corvane\\0|dword 0e000000", "W RW", TRUE, 0, kOther},
    {"rebuild, typed version stored", Rebuild, Empty, kNone, 0, "Y D N V16909060 Y", "115 F113 112 V47 43:16909060",
     "sz D:\\Corvane\\0|dword 04030201", "W RW", TRUE, 0, kOther},
    {"rebuild, version not stored", Rebuild, Build14, kNone, 0, "Y D O N", "115 F113 45:14 43:14",
     "sz D:\\Corvane\\0|-", "W", FALSE, 0, kOther},
    {"rebuild, no library", Rebuild, Missing, kNone, 0, "Y D O", "115 F113 49", "sz D:\\Corvane\\0|-", "W", FALSE, 0,
     kOther},
    {"rebuild, version window cancelled", Rebuild, Directory, kNone, 0, "Y D N V-", "115 F113 112 V47",
     "sz D:\\Corvane\\0|-", "W", FALSE, 0, kOther},
    {"rebuild, first create refused", Rebuild, Build14, RegOp::Create, 1, "Y D O", "115 F113 50", "no key", "W", FALSE,
     0, kOther},
    {"rebuild, path refused", Rebuild, Build14, RegOp::Set, 1, "Y D O", "115 F113 51", "-|-", "W", FALSE, 0, kOther},
    {"rebuild, second create refused", Rebuild, Build14, RegOp::Create, 2, "Y D O Y O", "115 F113 45:14 43:14 44",
     "sz D:\\Corvane\\0|-", "W RW", FALSE, 0, kOther},
    {"rebuild, version refused", Rebuild, Build14, RegOp::Set, 2, "Y D O Y O", "115 F113 45:14 43:14 48",
     "sz D:\\Corvane\\0|-", "W RW", FALSE, 0, kOther},
    {"path cancelled", CorrectPath, Build14, kNone, 0, "F-", "F117", kWrong, "", FALSE, 0, "C:\\Wrong"},
    {"path chosen", CorrectPath, Build14, kNone, 0, "D", "F117", "sz D:\\Corvane\\0|dword 0e000000", "W", TRUE, 0,
     kOther},
    {"path chosen, create refused", CorrectPath, Build14, RegOp::Create, 1, "D O", "F117 50", kWrong, "W", TRUE, 0,
     kOther},
    {"path chosen, write refused", CorrectPath, Build14, RegOp::Set, 1, "D O", "F117 51", kWrong, "W", TRUE, 0, kOther},
    {"recovered and stored", Recover, Build14, kNone, 0, "O O Y", "53 45:14 43:14", "sz D:\\Corvane\\0|dword 0e000000",
     "W", TRUE, 14, kOther},
    {"recovered, not stored", Recover, Build12, kNone, 0, "O O N", "53 45:12 43:12", "sz D:\\Corvane\\0|-", "", TRUE,
     12, kOther},
    {"recovery without library", Recover, Missing, kNone, 0, "O O", "53 49", "sz D:\\Corvane\\0|-", "", FALSE, 0,
     kOther},
    {"recovery, game started, cancelled", Recover, SecondLate, kNone, 0, "O Y V-", "53 112 S V46",
     "sz D:\\Corvane\\0|-", "", FALSE, 0, kOther},
    {"recovered, create refused", Recover, Build14, RegOp::Create, 1, "O O Y O", "53 45:14 43:14 44",
     "sz D:\\Corvane\\0|-", "W", TRUE, 14, kOther},
    {"recovered, write refused", Recover, Build14, RegOp::Set, 1, "O O Y O", "53 45:14 43:14 48",
     "sz D:\\Corvane\\0|-", "W", TRUE, 14, kOther},
    {"correction declined", Correct, Build12, kNone, 0, "N", "120", "sz D:\\Corvane\\0|dword 0d000000", "", FALSE, 13,
     kOther},
    {"corrected to 12", Correct, Build12, kNone, 0, "Y O Y", "120 45:12 43:12", "sz D:\\Corvane\\0|dword 0c000000", "W",
     TRUE, 12, kOther},
    {"corrected by typing, not stored", Correct, MixedRows, kNone, 0, "Y N V16 N", "120 112 V47 43:16",
     "sz D:\\Corvane\\0|dword 0d000000", "", TRUE, 16, kOther},
    {"correction typed as 0", Correct, HighHalfOff, kNone, 0, "Y N V0", "120 112 V47",
     "sz D:\\Corvane\\0|dword 0d000000", "", FALSE, 0, kOther},
    {"correction without library", Correct, Missing, kNone, 0, "Y O", "120 49", "sz D:\\Corvane\\0|dword 0d000000", "",
     FALSE, 0, kOther},
    {"build 14", Detect, Build14, kNone, 0, "O", "45:14", "sz D:\\Corvane\\0|dword 0e000000", "", 14, 0, kOther},
    {"build 12", Detect, Build12, kNone, 0, "O", "45:12", "sz D:\\Corvane\\0|dword 0e000000", "", 12, 0, kOther},
    {"typed as text", Detect, Empty, kNone, 0, "Y Vabc", "112 S V46", "sz D:\\Corvane\\0|dword 0e000000", "", 0, 0,
     kOther},
    {"typed as nothing", Detect, SecondLate, kNone, 0, "N V", "112 V47", "sz D:\\Corvane\\0|dword 0e000000", "", 0, 0,
     kOther},
    {"typed too large", Detect, HighHalfOff, kNone, 0, "N V4294967296", "112 V47", "sz D:\\Corvane\\0|dword 0e000000",
     "", 0, 0, kOther},
    {"typed largest", Detect, MixedRows, kNone, 0, "N V4294967295", "112 V47", "sz D:\\Corvane\\0|dword 0e000000", "",
     4294967295u, 0, kOther},
};

INSTANTIATE_TEST_SUITE_P(Cases, Repairs, ::testing::ValuesIn(kRepairCases),
                         CaseName<::testing::TestParamInfo<RepairCase>>);

}  // namespace
