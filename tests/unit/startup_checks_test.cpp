// The start-up checks in the simulated Windows: the installation check, the
// mod's registration and presence, and the no-warranty notice, with the one
// message each failure shows and no key left open.
#include <gtest/gtest.h>
#include "case_names.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

using namespace std::string_literals;
const char kTitle[] = "Corvane 2: Drifthaven: Valkor";
const std::string kGame = kGameDirectory;
const char kSettings[] = GAME_SETTINGS_KEY;
using Arrange = std::function<void(SimPlatform&)>;
using Step = void (*)(SimPlatform&);

// What the player does once the arrangement calls a repair: nothing; No to
// rebuilding the key or to correcting the version; Cancel in the find-game
// window; OK to the notice before detection, which then finds no engine library.
void Nothing(SimPlatform&) {}
void SayNo(SimPlatform& sim) { sim.windows.ExpectMessageBox(IDNO); }
void NoFinder(SimPlatform& sim) { sim.windows.ExpectDialog(IDD_FIND_GAME, Pressing(IDCANCEL)); }
void NoEngine(SimPlatform& sim) { for (int i = 0; i < 2; ++i) sim.windows.ExpectMessageBox(IDOK); }

// A value written raw, then the player's step.
Arrange Put(const char* key, const char* name, DWORD type, const std::string& bytes, Step then = Nothing) {
    return [=](SimPlatform& sim) { sim.registry.PutValue(key, name, type, {bytes.begin(), bytes.end()}), then(sim); };
}
Arrange Path(const std::string& text, Step then = Nothing, DWORD type = REG_SZ) {
    return Put(kSettings, "InstallPath", type, text, then);
}
// Without a name, the whole key goes.
Arrange Drop(const char* key, const char* name, Step then = Nothing) {
    return [=](SimPlatform& m) { name ? m.registry.DeleteValue(key, name) : m.registry.DeleteKey(key), then(m); };
}
Arrange Refuse(RegOp op, const char* name, int call, Step then = Nothing) {
    return [=](SimPlatform& sim) { FailRegistry(sim, op, name, call, ERROR_ACCESS_DENIED), then(sim); };
}
// Version 13, corrected from the engine library of a known build (its entry's
// time and size) without storing the result.
Arrange Corrected(FILETIME time, size_t size) {
    return [=](SimPlatform& sim) {
        const std::string library = kGame + "\\bin\\release\\corv2.dll";
        sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 13);
        sim.files.AddFile(library, std::string(size, 'x'));
        sim.files.SetLastWrite(library, time);
        for (int answer : {IDYES, IDOK, IDNO}) sim.windows.ExpectMessageBox(answer);
    };
}

// The mod's values as "name type bytes|" each.
std::string ModValues(const SimPlatform& sim) {
    std::string text;
    for (const char* name : {"Agreed", "Version", "Unload"})
        if (const SimRegistry::Value* value = sim.registry.GetValue(MOD_KEY, name))
            text += name + (" " + std::to_string(value->type) + " ") +
                    std::string(value->data.begin(), value->data.end()) + "|";
    return text;
}
const std::string kAgreed = "Agreed 4 \1\0\0\0|"s;
const std::string kModValues = kAgreed + "Version 1 0.4Alpha\0|"s + "Unload 1 novalkor.exe -u\0|"s;

class StartupChecks : public ::testing::Test {
protected:
    StartupChecks() {
        InstallGame(sim);
        launcher.m_strTitle = kTitle;
    }
    ~StartupChecks() override { ExpectNothingLeft(sim); }
    // The whole start-up, which the notice tests run.
    INT_PTR Start() { return RunLauncher(sim, ValkorProfile()); }
    SimPlatform sim{{}};
    LauncherApp app{sim.platform, ValkorProfile()};
    LauncherDialog launcher{sim.platform, ValkorProfile(), app, nullptr};
};

// A check of the launcher window, run on its own.
using CheckCall = BOOL (LauncherDialog::*)();
const CheckCall kInstallCheck = &LauncherDialog::InstallCheck, kReadAgreed = &LauncherDialog::ReadAgreed,
                kWriteMod = &LauncherDialog::WriteModInfo;
Arrange Agreed(DWORD type, const std::string& bytes) { return Put(MOD_KEY, "Agreed", type, bytes); }

// The message is 0 where the check shows none of its own. What it leaves: the
// install path it passes with; the mod's values it wrote, in the order Agreed,
// Version, Unload, so that each failure leaves the values before it.
struct CheckCase { const char* name; CheckCall check; Arrange arrange; UINT message; BOOL passes; std::string left{}; };

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class CheckCases : public StartupChecks, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckCases, ShowTheOneMessageOfTheirFailureAndLeaveWhatTheyRead) {
    const CheckCase& c = GetParam();
    if (c.check == kWriteMod) sim.registry.DeleteKey(MOD_KEY);
    c.arrange(sim);
    if (c.message != 0) sim.windows.ExpectMessageBox(IDOK);
    EXPECT_EQ((launcher.*c.check)(), c.passes);
    // The one message, shown last, with the title as caption and the stop icon.
    if (c.message != 0) {
        const size_t last = sim.windows.MessageBoxes().size() - 1;
        EXPECT_EQ(Boxes(sim, last), FindStringText(c.message) + "|"s + kTitle + "|16|unowned\n");
    }
    if (c.check == kInstallCheck && c.passes) { EXPECT_EQ(launcher.m_strInstallPath, c.left); }
    if (c.check == kWriteMod) { EXPECT_EQ(ModValues(sim), c.left); }
    const std::string security = std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0";
    if (c.check == kWriteMod && c.passes) {
        EXPECT_EQ(sim.registry.creates.back(), "software\\vortigen\\drifthaven\\mods\\valkormod access 0x2 class \"\" "
                                               "options 0 security " + security);
    }
}

const CheckCase kCheckCases[] = {
    {"key absent, rebuild declined", kInstallCheck, Drop(kSettings, nullptr, SayNo), 0, FALSE},
    {"path unreadable", kInstallCheck, Refuse(RegOp::Query, "installpath", 2), IDS_ERROR_READING_PATH, FALSE},
    {"path of a MiB and a byte", kInstallCheck, Path(std::string(1 << 20, 'a') + '\0'), IDS_ERROR_READING_PATH, FALSE},
    {"path without its zero, read within its bytes (sanitized)", kInstallCheck, Path(kGame), 0, TRUE, kGame},
    {"path with zeros inside, cut at the first (sanitized)", kInstallCheck, Path(kGame + "\0junk\0"s), 0, TRUE, kGame},
    {"path of a MiB", kInstallCheck, Path(std::string((1 << 20) - 1, 'a') + '\0', NoFinder), IDS_WRONG_INSTALL_PATH,
     FALSE},
    {"version as text", kInstallCheck, Put(kSettings, "Version", REG_SZ, "14\0"s, NoEngine), IDS_NO_VERSION, FALSE},
    {"version of 8 bytes, more than its buffer (sanitized)", kInstallCheck,
     Put(kSettings, "Version", REG_DWORD, "\x0e\0\0\0\0\0\0\0"s, NoEngine), IDS_NO_VERSION, FALSE},
    {"version unreadable", kInstallCheck, Refuse(RegOp::Query, "version", 2, NoEngine), IDS_NO_VERSION, FALSE},
    {"version corrected to 12", kInstallCheck, Corrected({0x8161F600, 0x01C1066C}, 1544192), IDS_VERSION_REQUIRED,
     FALSE},
    {"version corrected to 14", kInstallCheck, Corrected({0x59F1CB00, 0x01C14B80}, 1556480), 0, TRUE, kGame},
    // The agreement counts only as a nonzero four-byte DWORD.
    {"agreed 1", kReadAgreed, Agreed(REG_DWORD, "\1\0\0\0"s), 0, TRUE},
    {"agreed 7 in the high byte", kReadAgreed, Agreed(REG_DWORD, "\0\0\0\7"s), 0, TRUE},
    {"agreed 0", kReadAgreed, Agreed(REG_DWORD, "\0\0\0\0"s), 0, FALSE},
    {"agreed text 1", kReadAgreed, Agreed(REG_SZ, "1\0"s), 0, FALSE},
    {"agreed binary 1", kReadAgreed, Agreed(REG_BINARY, "\1\0\0\0"s), 0, FALSE},
    {"agreed 2 bytes", kReadAgreed, Agreed(REG_DWORD, "\1\0"s), 0, FALSE},
    {"agreed no bytes", kReadAgreed, Agreed(REG_DWORD, ""), 0, FALSE},
    {"agreement missing", kReadAgreed, Drop(MOD_KEY, "Agreed"), 0, FALSE},
    {"no mod key", kReadAgreed, Drop(MOD_KEY, nullptr), 0, FALSE},
    {"mod key refused", kReadAgreed, Refuse(RegOp::Open, "valkormod", 1), 0, FALSE},
    {"agreement not written", kWriteMod, Refuse(RegOp::Set, "agreed", 1), IDS_ERROR_MOD_VALUES, FALSE},
    {"version not written", kWriteMod, Refuse(RegOp::Set, "version", 1), IDS_ERROR_MOD_VALUES, FALSE, kAgreed},
    {"all written", kWriteMod, Nothing, 0, TRUE, kModValues},
};

INSTANTIATE_TEST_SUITE_P(Cases, CheckCases, ::testing::ValuesIn(kCheckCases),
                         CaseName<::testing::TestParamInfo<CheckCase>>);

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
    EXPECT_EQ(Start(), IDCANCEL);
    EXPECT_EQ(ModValues(sim), kModValues);
    // The next start shows no notice.
    sim.windows.ExpectDialog(IDD_LAUNCHER, Pressing(IDCANCEL));
    EXPECT_EQ(Start(), IDCANCEL);
    EXPECT_EQ(sim.log.Count("dialog 132 open"), 1);
}

}  // namespace
