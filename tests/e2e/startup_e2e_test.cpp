// The start-up checks of the real programs under Wine, against the prefix's
// real registry and a real game directory: the notice until it is accepted, the
// mod's key, and the message of each failed check.
#include "e2e_test_support.h"

namespace {

const char kModKey[] = "Software\\Vortigen\\Drifthaven\\Mods\\Valkormod";
const char kGameKey[] = "Software\\Vortigen\\Drifthaven\\Settings";

// A value of a key as the programs see it: type and bytes; type 0 when absent.
std::pair<DWORD, std::string> Value(const char* keyPath, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != 0) return {0, ""};
    DWORD type = 0, size = 0;
    std::string data;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == 0) {
        data.resize(size);
        RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
    } else {
        type = 0;
    }
    RegCloseKey(key);
    return {type, data};
}

bool KeyExists(const char* keyPath) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_READ, &key) != 0) return false;
    RegCloseKey(key);
    return true;
}

void SetGameValue(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, KEY_WRITE, &key), 0);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

class Startup : public GameTest {
protected:
    HWND StartUntil(const ProgramCase& program, const std::string& tail, const char* caption) {
        EXPECT_TRUE(Start(Launcher(program), tail, m_program));
        return WaitForDialog(m_program, caption, kWindowWait);
    }
};

TEST_F(Startup, TheNoticeUntilAcceptedThenTheModsKey) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Vortigen\\Drifthaven\\Mods");
    // Cancel, also in silent mode: the launcher closes with no message and writes nothing.
    for (const char* tail : {"", "-u"}) {
        SCOPED_TRACE(tail);
        HWND notice = StartUntil(kValkor, tail, "No Warranty");
        ASSERT_NE(notice, nullptr);
        EXPECT_EQ(ItemText(notice, IDOK), "OK");
        EXPECT_EQ(ItemText(notice, IDCANCEL), "Cancel");
        const std::string text = ItemText(notice, 1002);
        EXPECT_GT(text.size(), 300u);
        EXPECT_NE(text.find("\r\n"), std::string::npos);
        EXPECT_NE(text.find('"'), std::string::npos);
        Click(notice, IDCANCEL);
        EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
        EXPECT_FALSE(KeyExists(kModKey));
    }
    // OK: the mod's key with its three values, and the launcher goes on.
    HWND notice = StartUntil(kValkor, "", "No Warranty");
    ASSERT_NE(notice, nullptr);
    Click(notice, IDOK);
    HWND window = WaitForDialog(m_program, kValkor.title, kWindowWait);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Value(kModKey, "Agreed"), std::make_pair(DWORD(REG_DWORD), std::string("\1\0\0\0", 4)));
    EXPECT_EQ(Value(kModKey, "Version"), std::make_pair(DWORD(REG_SZ), std::string("0.4Alpha\0", 9)));
    EXPECT_EQ(Value(kModKey, "Unload"), std::make_pair(DWORD(REG_SZ), std::string("novalkor.exe -u\0", 16)));
    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    // The next start, of either program, shows no notice.
    window = StartUntil(kNovalkor, "", kNovalkor.title);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Dialogs(m_program).size(), 1u);
    Click(window, IDCANCEL);
    EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
    EXPECT_EQ(GameLog(), "");
}

TEST_F(Startup, EachFailedCheckShowsItsMessageAndClosesTheLauncher) {
    struct Case {
        const char* name;
        void (*arrange)(const std::string& install);
        const char* message;
    } cases[] = {
        {"InstallPath stored as REG_EXPAND_SZ",
         [](const std::string& install) { SetGameValue("InstallPath", REG_EXPAND_SZ, install + '\0'); },
         "Error reading Drifthaven installation path."},
        {"a directory without Drifthvn.exe",
         [](const std::string& install) { DeleteFileA((install + "\\Drifthvn.exe").c_str()); },
         "Cannot continue due to incorrect Drifthaven install path."},
        {"version stored as text", [](const std::string&) { SetGameValue("Version", REG_SZ, std::string("14\0", 3)); },
         "Cannot continue without correct version information."},
        {"version 13", [](const std::string&) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)); },
         "Drifthaven version 14 or higher is required."},
        {"the mod's files missing", [](const std::string& install) { RemoveTree(install + "\\mods"); },
         "Could not find Valkor mod."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();  // a fresh installation for each case
        c.arrange(m_install);
        ASSERT_TRUE(Start(Launcher(kValkor), "", m_program));
        EXPECT_EQ(AnswerMessageBox(m_program, kValkor.title), c.message);
        EXPECT_TRUE(WaitForEnd(m_program, kEndWait));
        EXPECT_EQ(GameLog(), "");
    }
}

}  // namespace
