#include "e2e_test_support.h"

const char kLaunchers[] = "C:\\launchers";
const char kTools[] = "C:\\tools";
const char kSample[] = "C:\\sample";

const ProgramCase kValkor = {"valkor.exe", "Corvane 2: Drifthaven: Valkor", {"Play", "Readme", "Visit Mirefall", "Cancel"},
                             "readme_valkor.html", "http://www.mirefall.example/valkor/"};
const ProgramCase kNovalkor = {"novalkor.exe", "Corvane 2: Drifthaven",
                               {"Play", "Readme", "Visit Corvane Site", "Cancel"}, "readme_english.html",
                               "http://www.corvane.example/"};

void PrintTo(const ProgramCase& program, std::ostream* out) { *out << program.exe; }

namespace {
const char kGameKey[] = "Software\\Vortigen\\Drifthaven\\Settings";
const char kVendorKey[] = "Software\\Vortigen";
}  // namespace

void SetInstallPath(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGameKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, "InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
    const DWORD version = 14;
    RegSetValueExA(key, "Version", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&version), sizeof(version));
    RegCloseKey(key);
}

void DeleteGameKeys() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVendorKey); }

void AcceptNotice() {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vortigen\\Drifthaven\\Mods\\Valkormod", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              0);
    const DWORD agreed = 1;
    RegSetValueExA(key, "Agreed", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&agreed), sizeof(agreed));
    RegCloseKey(key);
}

std::string AnswerMessageBox(const Program& program, const std::string& caption) {
    HWND box = WaitForMessageBox(program, kWindowWait);
    if (box == nullptr) return "<no message box>";
    EXPECT_EQ(Caption(box), caption);
    const std::string text = MessageText(box);
    Click(box, IDOK);
    for (DWORD waited = 0; IsWindow(box) && waited < kEndWait; waited += 50) Sleep(50);
    return text;
}

void GameTest::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':') c = '_';
    CreateDirectoryA("C:\\e2e", nullptr);
    m_root = "C:\\e2e\\" + name;
    RemoveTree(m_root);
    ASSERT_TRUE(CreateDirectoryA(m_root.c_str(), nullptr)) << m_root;
    m_install = m_root + "\\Drifthaven";
    m_logs = m_root + "\\logs";
    ASSERT_TRUE(CopyTree(kSample, m_install));
    ASSERT_TRUE(CopyFileA((std::string(kTools) + "\\Drifthvn.exe").c_str(), (m_install + "\\Drifthvn.exe").c_str(),
                          FALSE));
    ASSERT_TRUE(CreateDirectoryA(m_logs.c_str(), nullptr));
    SetEnvironmentVariableA("STANDIN_LOG", (m_logs + "\\standin.log").c_str());
    SetEnvironmentVariableA("RECORDER_LOG", (m_logs + "\\recorder.log").c_str());
    DeleteGameKeys();
    SetInstallPath(m_install);
    AcceptNotice();
}

void GameTest::TearDown() {
    if (m_program.process != nullptr) {
        ADD_FAILURE() << "the program was still running; its windows: " << Dialogs(m_program).size();
        Kill(m_program);
    }
    DeleteGameKeys();
}

std::string GameTest::WaitForLog(bool game, DWORD milliseconds) const {
    const DWORD start = GetTickCount();
    for (;;) {
        std::string log = game ? GameLog() : RecorderLog();
        if (!log.empty() || GetTickCount() - start > milliseconds) return log;
        Sleep(100);
    }
}
