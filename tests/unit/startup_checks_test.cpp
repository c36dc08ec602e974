// The start-up checks in the simulated Windows: the installation check, the
// mod's registration and presence, and the no-warranty notice, with the one
// message each failure shows and no key left open.
#include <gtest/gtest.h>
#include "case_names.h"
#include <algorithm>
#include <functional>
#include "registry/path_exists.h"
#include "resources/resource_ids.h"
#include "resources/string_table.h"
#include "sim_game.h"

namespace {

const char kTitle[] = "Corvane 2: Drifthaven: Valkor";
using Arrange = std::function<void(SimPlatform&)>;

std::vector<BYTE> Bytes(const std::string& text) { return std::vector<BYTE>(text.begin(), text.end()); }

// A fault for the n-th call of one registry operation on one value (or key).
void FailRegistry(SimPlatform& sim, RegOp op, const std::string& name, int call, LONG error) {
    sim.registry.inject = [=, count = 0](RegOp made, const std::string& path, const std::string& value) mutable {
        if (made != op || (value != name && path.find(name) == std::string::npos)) return LONG(ERROR_SUCCESS);
        return ++count == call ? error : LONG(ERROR_SUCCESS);
    };
}

class StartupChecks : public ::testing::Test {
protected:
    StartupChecks() {
        InstallGame(sim);
        launcher.m_strTitle = kTitle;
    }
    ~StartupChecks() override {
        EXPECT_EQ(sim.registry.OpenHandles(), 0);
        EXPECT_EQ(sim.files.OpenHandles(), 0);
        EXPECT_EQ(sim.windows.ScriptLeft(), "");
    }
    // Runs a check; the texts of the last message boxes it showed (after those of
    // repairs that the arrangement declines), all with the title as caption and
    // the stop icon.
    std::string Run(const Arrange& arrange, BOOL (LauncherDialog::*check)(), BOOL expected, int boxes) {
        const size_t before = sim.windows.MessageBoxes().size();
        arrange(sim);
        for (int i = 0; i < boxes; ++i) sim.windows.ExpectMessageBox(IDOK);
        EXPECT_EQ((launcher.*check)(), expected);
        std::string texts;
        for (size_t i = std::max(before, sim.windows.MessageBoxes().size() - boxes);
             i < sim.windows.MessageBoxes().size(); ++i) {
            const MessageBoxRecord& box = sim.windows.MessageBoxes()[i];
            EXPECT_EQ(box.caption, kTitle);
            EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONHAND));
            texts += box.text;
        }
        return texts;
    }

    SimPlatform sim{{}};
    LauncherApp app{sim.platform, ValkorProfile()};
    LauncherDialog launcher{sim.platform, ValkorProfile(), app, nullptr};
};

struct CheckCase {
    const char* name;
    Arrange arrange;
    UINT message;             // 0: none
    const char* installPath;  // when the check passes
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class InstallCheckCases : public StartupChecks, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(InstallCheckCases, ShowTheOneMessageOfTheirFailure) {
    const CheckCase& c = GetParam();
    const std::string texts = Run(c.arrange, &LauncherDialog::InstallCheck, c.message == 0, c.message == 0 ? 0 : 1);
    EXPECT_EQ(texts, c.message == 0 ? "" : FindStringText(c.message));
    if (c.message == 0) {
        EXPECT_EQ(launcher.m_strInstallPath, c.installPath);
    }
}

void Path(SimPlatform& sim, std::vector<BYTE> data, DWORD type = REG_SZ) {
    sim.registry.PutValue(GAME_SETTINGS_KEY, "InstallPath", type, std::move(data));
}
void Version(SimPlatform& sim, std::vector<BYTE> data, DWORD type = REG_DWORD) {
    sim.registry.PutValue(GAME_SETTINGS_KEY, "Version", type, std::move(data));
}

const std::string kGame = kGameDirectory;

// The player declines the repairs that a missing executable or version calls:
// Cancel in the find-game window; OK to the notice before detection, which then
// finds no engine library; No to correcting the version.
void CancelFinder(SimPlatform& sim) {
    sim.windows.ExpectDialog(IDD_FIND_GAME, [](SimDialogView& window) { window.Press(IDCANCEL); });
}
void NoEngine(SimPlatform& sim) {
    sim.windows.ExpectMessageBox(IDOK);
    sim.windows.ExpectMessageBox(IDOK);
}
void NoCorrection(SimPlatform& sim) { sim.windows.ExpectMessageBox(IDNO); }
// Version 13, corrected from the engine library of a known build (its entry's
// time and size) without storing the result.
void Corrected(SimPlatform& sim, FILETIME time, size_t size) {
    sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 13);
    const std::string library = kGame + "\\bin\\release\\corv2.dll";
    sim.files.AddFile(library, std::string(size, 'x'));
    sim.files.SetLastWrite(library, time);
    for (int answer : {IDYES, IDOK, IDNO}) sim.windows.ExpectMessageBox(answer);
}
const CheckCase kCheckCases[] = {
    {"in order", [](SimPlatform&) {}, 0, kGameDirectory},
    {"key refused", [](SimPlatform& sim) { FailRegistry(sim, RegOp::Open, "settings", 1, ERROR_ACCESS_DENIED); },
     IDS_ERROR_OPENING_KEY, nullptr},
    {"path missing", [](SimPlatform& sim) { sim.registry.DeleteValue(GAME_SETTINGS_KEY, "InstallPath"); },
     IDS_ERROR_READING_PATH, nullptr},
    {"path of another type", [](SimPlatform& sim) { Path(sim, Bytes(kGame + '\0'), REG_EXPAND_SZ); },
     IDS_ERROR_READING_PATH, nullptr},
    {"path unreadable", [](SimPlatform& sim) { FailRegistry(sim, RegOp::Query, "installpath", 2, ERROR_READ_FAULT); },
     IDS_ERROR_READING_PATH, nullptr},
    {"path of a MiB and a byte", [](SimPlatform& sim) { Path(sim, Bytes(std::string(1 << 20, 'a') + '\0')); },
     IDS_ERROR_READING_PATH, nullptr},
    {"path without its zero", [](SimPlatform& sim) { Path(sim, Bytes(kGame)); }, 0, kGameDirectory},
    {"path with zeros inside", [](SimPlatform& sim) { Path(sim, Bytes(kGame + std::string("\0junk\0", 6))); }, 0,
     kGameDirectory},
    {"path with a trailing backslash", [](SimPlatform& sim) { Path(sim, Bytes(kGame + "\\")); }, 0,
     "C:\\Games\\Drifthaven\\"},
    {"path of no bytes", [](SimPlatform& sim) { Path(sim, {}); CancelFinder(sim); }, IDS_WRONG_INSTALL_PATH, nullptr},
    {"path of a MiB",
     [](SimPlatform& sim) {
         Path(sim, Bytes(std::string((1 << 20) - 1, 'a') + '\0'));
         CancelFinder(sim);
     },
     IDS_WRONG_INSTALL_PATH, nullptr},
    {"executable missing",
     [](SimPlatform& sim) {
         Path(sim, Bytes(std::string("C:\\Elsewhere") + '\0'));
         CancelFinder(sim);
     },
     IDS_WRONG_INSTALL_PATH, nullptr},
    {"version missing", [](SimPlatform& sim) { sim.registry.DeleteValue(GAME_SETTINGS_KEY, "Version"); NoEngine(sim); },
     IDS_NO_VERSION, nullptr},
    {"version as text",
     [](SimPlatform& sim) {
         Version(sim, Bytes(std::string("14") + '\0'), REG_SZ);
         NoEngine(sim);
     },
     IDS_NO_VERSION, nullptr},
    {"version of 2 bytes", [](SimPlatform& sim) { Version(sim, {14, 0}); NoEngine(sim); }, IDS_NO_VERSION, nullptr},
    {"version of 8 bytes",
     [](SimPlatform& sim) {
         Version(sim, {14, 0, 0, 0, 0, 0, 0, 0});
         NoEngine(sim);
     },
     IDS_NO_VERSION, nullptr},
    {"version unreadable",
     [](SimPlatform& sim) {
         FailRegistry(sim, RegOp::Query, "version", 2, ERROR_READ_FAULT);
         NoEngine(sim);
     },
     IDS_NO_VERSION, nullptr},
    {"version 13",
     [](SimPlatform& sim) {
         sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 13);
         NoCorrection(sim);
     },
     IDS_VERSION_REQUIRED, nullptr},
    {"version 0",
     [](SimPlatform& sim) {
         sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 0);
         NoCorrection(sim);
     },
     IDS_VERSION_REQUIRED, nullptr},
    {"version corrected to 12", [](SimPlatform& sim) { Corrected(sim, {0x8161F600, 0x01C1066C}, 1544192); },
     IDS_VERSION_REQUIRED, nullptr},
    {"version corrected to 14", [](SimPlatform& sim) { Corrected(sim, {0x59F1CB00, 0x01C14B80}, 1556480); }, 0,
     kGameDirectory},
    {"version 4294967295",
     [](SimPlatform& sim) { sim.registry.PutDword(GAME_SETTINGS_KEY, "Version", 4294967295u); }, 0,
     kGameDirectory},
};

INSTANTIATE_TEST_SUITE_P(Cases, InstallCheckCases, ::testing::ValuesIn(kCheckCases),
                         CaseName<::testing::TestParamInfo<CheckCase>>);

// The player declines to rebuild a missing key; the check adds no message of its own.
TEST_F(StartupChecks, AnAbsentKeyEndsTheCheckWithoutAMessage) {
    const auto declined = [](SimPlatform& machine) {
        machine.registry.DeleteKey(GAME_SETTINGS_KEY);
        machine.windows.ExpectMessageBox(IDNO);
    };
    EXPECT_EQ(Run(declined, &LauncherDialog::InstallCheck, FALSE, 0), "");
    EXPECT_EQ(sim.windows.MessageBoxes().size(), 1u);
}

TEST_F(StartupChecks, TheAgreementCountsOnlyAsANonzeroFourByteDword) {
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
        BOOL agreed;
    } values[] = {
        {"1", REG_DWORD, {1, 0, 0, 0}, TRUE},    {"7 in the high byte", REG_DWORD, {0, 0, 0, 7}, TRUE},
        {"0", REG_DWORD, {0, 0, 0, 0}, FALSE},   {"text 1", REG_SZ, {'1', 0}, FALSE},
        {"binary 1", REG_BINARY, {1, 0, 0, 0}, FALSE}, {"2 bytes", REG_DWORD, {1, 0}, FALSE},
        {"no bytes", REG_DWORD, {}, FALSE},
    };
    for (const auto& c : values) {
        sim.registry.PutValue(MOD_KEY, "Agreed", c.type, c.data);
        EXPECT_EQ(launcher.ReadAgreed(), c.agreed) << c.name;
    }
    sim.registry.PutDword(MOD_KEY, "Agreed", 1);
    FailRegistry(sim, RegOp::Open, "valkormod", 1, ERROR_ACCESS_DENIED);
    EXPECT_FALSE(launcher.ReadAgreed()) << "key refused";
    sim.registry.inject = nullptr;
    sim.registry.DeleteValue(MOD_KEY, "Agreed");
    EXPECT_FALSE(launcher.ReadAgreed()) << "missing";
    sim.registry.DeleteKey(MOD_KEY);
    EXPECT_FALSE(launcher.ReadAgreed()) << "no key";
}

TEST_F(StartupChecks, TheRegistrationWritesItsThreeValuesInOrderAndStopsAtTheFirstFailure) {
    struct {
        const char* name;
        RegOp op;
        const char* failing;
        UINT message;
        std::vector<std::string> written;
    } cases[] = {
        {"all written", RegOp::Set, "none", 0, {"agreed", "version", "unload"}},
        {"key refused", RegOp::Create, "valkormod", IDS_ERROR_CREATING_REGISTRY_KEY, {}},
        {"agreement refused", RegOp::Set, "agreed", IDS_ERROR_MOD_VALUES, {}},
        {"version refused", RegOp::Set, "version", IDS_ERROR_MOD_VALUES, {"agreed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim.registry.DeleteKey(MOD_KEY);
        std::vector<std::string> written;
        sim.registry.inject = [&](RegOp op, const std::string& path, const std::string& value) {
            if (op == c.op && (value == c.failing || (op == RegOp::Create && path.find(c.failing) != std::string::npos)))
                return LONG(ERROR_ACCESS_DENIED);
            if (op == RegOp::Set) written.push_back(value);
            return LONG(ERROR_SUCCESS);
        };
        const std::string texts = Run([](SimPlatform&) {}, &LauncherDialog::WriteModInfo, c.message == 0, c.message ? 1 : 0);
        EXPECT_EQ(texts, c.message == 0 ? "" : FindStringText(c.message));
        EXPECT_EQ(written, c.written);
    }
    sim.registry.inject = nullptr;
    EXPECT_EQ(sim.registry.ValueCount(MOD_KEY), 1u);  // the last case stopped after "Agreed"
    Run([](SimPlatform&) {}, &LauncherDialog::WriteModInfo, TRUE, 0);
    EXPECT_EQ(sim.registry.creates.back(), "software\\vortigen\\drifthaven\\mods\\valkormod access 0x2 class \"\" "
                                           "options 0 security " +
                                               std::to_string(sizeof(SECURITY_ATTRIBUTES)) + ",null,0");
    const struct {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
    } values[] = {{"Agreed", REG_DWORD, {1, 0, 0, 0}},
                  {"Version", REG_SZ, Bytes(std::string("0.4Alpha") + '\0')},
                  {"Unload", REG_SZ, Bytes(std::string("novalkor.exe -u") + '\0')}};
    for (const auto& expected : values) {
        const SimRegistry::Value* value = sim.registry.GetValue(MOD_KEY, expected.name);
        ASSERT_NE(value, nullptr) << expected.name;
        EXPECT_EQ(value->type, expected.type) << expected.name;
        EXPECT_EQ(value->data, expected.data) << expected.name;
    }
}

TEST_F(StartupChecks, TheModIsPresentAsItsArchiveOrAsAnythingNamedValkormod) {
    struct {
        const char* name;
        std::vector<std::string> files;
        bool directory;
        BOOL present;
    } cases[] = {
        {"archive", {"mods\\valkormod.zip"}, false, TRUE},
        {"directory", {}, true, TRUE},
        {"both", {"mods\\valkormod.zip"}, true, TRUE},
        {"a plain file named valkormod", {"mods\\valkormod"}, false, TRUE},
        {"another archive", {"mods\\other.zip"}, false, FALSE},
        {"nothing", {}, false, FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string game = std::string("C:\\Other") + c.name;
        launcher.m_strInstallPath = game;
        sim.files.AddDirectory(game + "\\mods");
        for (const std::string& file : c.files) sim.files.AddFile(game + "\\" + file, "x");
        if (c.directory) sim.files.AddDirectory(game + "\\mods\\valkormod");
        EXPECT_EQ(Run([](SimPlatform&) {}, &LauncherDialog::ModPresent, c.present, c.present ? 0 : 1),
                  c.present ? "" : "Could not find Valkor mod.");
    }
    EXPECT_TRUE(PathExists(sim.files, kGame + "\\mods\\valk*"));
    EXPECT_FALSE(PathExists(sim.files, kGame + "\\mods\\x*"));
}

// The notice in the whole start-up, on a machine where it was never accepted.
class Notice : public ::testing::Test {
protected:
    Notice() { InstallGame(sim, false); }
    INT_PTR Start(int silent = 0) { return RunLauncher(sim, ValkorProfile(), silent); }
    SimPlatform sim{{}};
};

TEST_F(Notice, OkRecordsTheAgreementAndTheStartUpGoesOn) {
    sim.registry.PutString(MOD_KEY, "Agreed", "1");  // not a DWORD: not accepted
    sim.windows.ExpectDialog(IDD_DISCLAIMER, [](SimDialogView& notice) {
        EXPECT_EQ(notice.Caption(), "No Warranty");
        EXPECT_EQ(notice.Text(IDC_NOTICE), FindStringText(IDS_NOTICE));
        EXPECT_EQ(notice.Text(IDOK), "OK");
        EXPECT_EQ(notice.Text(IDCANCEL), "Cancel");
        EXPECT_EQ(notice.Focus(), IDOK);
        notice.Enter();
    });
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) {
        EXPECT_EQ(window.Caption(), kTitle);
        window.Press(IDCANCEL);
    });
    EXPECT_EQ(Start(), IDCANCEL);
    const SimRegistry::Value* agreed = sim.registry.GetValue(MOD_KEY, "Agreed");
    ASSERT_TRUE(agreed);
    EXPECT_EQ(agreed->type, static_cast<DWORD>(REG_DWORD));
    // The next start shows no notice.
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) { window.Press(IDCANCEL); });
    EXPECT_EQ(Start(), IDCANCEL);
    EXPECT_EQ(sim.log.Count("dialog 132 open"), 1);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
}

TEST_F(Notice, EveryOtherEndClosesTheLauncherSilentlyAndRecordsNothing) {
    for (auto way : kCancelWays) {
        sim.windows.ExpectDialog(IDD_DISCLAIMER, way);
        EXPECT_EQ(Start(), IDCANCEL);
    }
    // Silent mode shows the notice all the same.
    sim.windows.ExpectDialog(IDD_DISCLAIMER, [](SimDialogView& notice) { notice.Press(IDCANCEL); });
    EXPECT_EQ(Start(1), IDCANCEL);
    EXPECT_TRUE(sim.windows.MessageBoxes().empty());
    EXPECT_FALSE(sim.registry.HasKey(MOD_KEY));
    EXPECT_EQ(sim.log.Count(std::string("caption ") + kTitle), 0);
    EXPECT_EQ(sim.log.Count("timer tick 1337"), 4);
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
    EXPECT_EQ(sim.registry.OpenHandles(), 0);
}

TEST_F(Notice, AFailedRegistrationIsReportedAndTheStartUpGoesOn) {
    sim.registry.inject = [](RegOp op, const std::string&, const std::string&) {
        return op == RegOp::Create ? LONG(ERROR_ACCESS_DENIED) : LONG(ERROR_SUCCESS);
    };
    sim.windows.ExpectDialog(IDD_DISCLAIMER, [](SimDialogView& notice) { notice.Press(IDOK); });
    sim.windows.ExpectMessageBox(IDOK);
    sim.windows.ExpectDialog(IDD_LAUNCHER, [](SimDialogView& window) { window.Press(IDCANCEL); });
    EXPECT_EQ(Start(), IDCANCEL);
    ASSERT_EQ(sim.windows.MessageBoxes().size(), 1u);
    EXPECT_EQ(sim.windows.MessageBoxes()[0].text, FindStringText(IDS_ERROR_CREATING_REGISTRY_KEY));
    EXPECT_EQ(sim.windows.ScriptLeft(), "");
}

}  // namespace
