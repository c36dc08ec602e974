// The resources compiled into the programs, read back from the built files the
// way Windows reads them: the texts, picture, icons, taunts and version block
// (tools/release.sh checks the deliverables' headers and imports). The dialog templates
// come from the same source as the texts (resources/*.def) and the scenarios see
// the windows they make; here only their default buttons and labels are read. The taunts are
// heard in the scenarios.
#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include "resources/string_table.h"
#include "scenario.h"

namespace {

// One built program: where it lies, and what differs between the two programs.
struct Build {
    const char *name, *path, *originalName, *descriptionWord;
    LONG pictureHeight;
    std::set<int> waves;
};
const Build kBuilds[] = {
    {"valkor_deliverable", "C:\\deliverables\\valkor.exe", "VALKOR.EXE", "enable", 511, {154}},
    {"novalkor_deliverable", "C:\\deliverables\\novalkor.exe", "NOVALKOR.EXE", "disable", 512, {133, 138}},
    {"valkor_launcher", "C:\\launchers\\valkor.exe", "VALKOR.EXE", "enable", 511, {154}},
    {"novalkor_launcher", "C:\\launchers\\novalkor.exe", "NOVALKOR.EXE", "disable", 512, {133, 138}},
};

// A structure at an offset of a resource; zeros past its end.
template <class T> T At(const std::string& bytes, size_t at) {
    T value{};
    if (at + sizeof(T) <= bytes.size()) memcpy(&value, &bytes[at], sizeof(T));
    return value;
}

// The program loaded as data only, so nothing of it runs and a 32-bit file opens from this 64-bit process.
class ProgramResources : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        m_module = LoadLibraryExA(GetParam().path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (m_module == nullptr) m_module = LoadLibraryExA(GetParam().path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr) << GetParam().path << " error " << GetLastError();
    }
    void TearDown() override {
        if (m_module != nullptr) FreeLibrary(m_module);
    }
    std::string Resource(int id, LPCSTR type) const {
        HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
        const void* data = found != nullptr ? LockResource(LoadResource(m_module, found)) : nullptr;
        return data != nullptr ? std::string(static_cast<const char*>(data), SizeofResource(m_module, found)) : "";
    }
    std::set<int> Names(LPCSTR type) const {
        std::set<int> names;
        EnumResourceNamesA(m_module, type, AddName, reinterpret_cast<LONG_PTR>(&names));
        return names;
    }
    static BOOL CALLBACK AddName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
        reinterpret_cast<std::set<int>*>(names)->insert(IS_INTRESOURCE(name) ? LOWORD(name) : -1);
        return TRUE;
    }
    HMODULE m_module = nullptr;
};

// The programs carry exactly the texts that the simulated Windows shows the unit tests.
TEST_P(ProgramResources, StringTableIsTheOneTheUnitTestsSee) {
    for (UINT id = 0; id <= 200; ++id) {
        char buffer[4096] = {};
        const int length = LoadStringA(m_module, id, buffer, sizeof(buffer));
        const char* want = FindStringText(id);
        EXPECT_EQ(std::string(buffer, std::max(length, 0)), want != nullptr ? want : "") << "string " << id;
    }
    // The notice is shown in a multi-line edit, which breaks lines only at CR LF.
    const std::string notice = FindStringText(32);
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), std::count(notice.begin(), notice.end(), '\r'));
}

TEST_P(ProgramResources, PictureIconsAndTauntsAreThere) {
    const std::string picture = Resource(129, RT_BITMAP);
    const BITMAPINFOHEADER bitmap = At<BITMAPINFOHEADER>(picture, 0);
    EXPECT_EQ((std::vector<LONG>{bitmap.biWidth, bitmap.biHeight, bitmap.biBitCount, LONG(bitmap.biCompression)}),
              (std::vector<LONG>{512, GetParam().pictureHeight, 24, BI_RGB}))
        << "bitmap 129";
    EXPECT_GE(picture.size(), bitmap.biSize + 512 * 3 * size_t(abs(bitmap.biHeight))) << "bitmap 129 cut short";
    // Windows picks the large and small icon, in 16 or 256 colours, from these four.
    const std::string group = Resource(128, RT_GROUP_ICON);
    std::set<std::vector<int>> sizes;
    for (size_t entry = 6; entry < 6 + 14 * size_t(At<WORD>(group, 4)); entry += 14) {
        // An entry of the group: width and height (bytes), colours, reserved, planes, bit count, size, icon id.
        const std::vector<int> size = {At<BYTE>(group, entry), At<BYTE>(group, entry + 1), At<WORD>(group, entry + 6)};
        const BITMAPINFOHEADER dib = At<BITMAPINFOHEADER>(Resource(At<WORD>(group, entry + 12), RT_ICON), 0);
        EXPECT_EQ((std::vector<int>{dib.biWidth, dib.biHeight / 2, dib.biBitCount}), size) << "icon entry " << entry;
        sizes.insert(size);
    }
    EXPECT_EQ(sizes, (std::set<std::vector<int>>{{32, 32, 4}, {32, 32, 8}, {16, 16, 4}, {16, 16, 8}}))
        << "icon group 128";
    EXPECT_EQ(Names("WAVE"), GetParam().waves);
    // The one manifest that Windows reads at the start (tests/release checks what it says).
    EXPECT_EQ(Names(RT_MANIFEST), std::set<int>{1});
}

TEST_P(ProgramResources, VersionBlockNamesTheProgram) {
    std::vector<char> block(GetFileVersionInfoSizeA(GetParam().path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoA(GetParam().path, 0, DWORD(block.size()), block.data())) << "no version block";
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ((std::vector<DWORD>{fixed->dwSignature, fixed->dwFileVersionMS, fixed->dwFileVersionLS}),
              (std::vector<DWORD>{0xFEEF04BD, 0x00010000, 0x00000001}))
        << "file version 1.0.0.1";
    auto value = [&](const std::string& name) {
        char* text = nullptr;
        const std::string query = "\\StringFileInfo\\040904b0\\" + name;
        const bool found = VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &length);
        return found && text != nullptr ? std::string(text) : "<missing " + name + ">";
    };
    EXPECT_EQ(
        value("FileVersion") + "|" + value("Comments") + "|" + value("InternalName") + "|" + value("OriginalFilename"),
        std::string("0.4|Beta7 (Final Public Beta)|VALKOR|") + GetParam().originalName);
    // Words that make Windows take a program for an installer and ask to raise its rights.
    std::string description = value("FileDescription");
    CharLowerA(&description[0]);
    EXPECT_NE(description.find(GetParam().descriptionWord), std::string::npos) << description;
    for (const char* word : {"install", "setup", "update", "patch"})
        EXPECT_EQ(description.find(word), std::string::npos) << description;
}

// Enter presses the default push button when the focus is on no button; with
// two, the dialog manager takes either: each window has one, OK. Screen readers
// name an edit box by the static text just before it: every edit box that takes
// input follows its explanation. Each template is made into its window by the
// dialog manager and its controls read in their order, as the dialog manager sees them.
TEST_P(ProgramResources, EachWindowHasOneDefaultButtonOkAndEveryEditBoxItsLabel) {
    std::map<int, std::vector<int>> defaults, labels;
    for (int number : Names(RT_DIALOG)) {
        // No dialog procedure: the dialog manager's own handling alone, and the focus left where it is.
        HWND dialog = CreateDialogParamA(m_module, MAKEINTRESOURCEA(number), nullptr, nullptr, 0);
        ASSERT_NE(dialog, nullptr) << "dialog " << number << " error " << GetLastError();
        defaults[number], labels[number];
        std::pair<LRESULT, int> previous = {0, 0};  // the dialog code and id of the control before
        for (HWND item = GetWindow(dialog, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
            // What the dialog manager asks of each control: a default button, an edit box, a static text.
            const LRESULT code = SendMessageA(item, WM_GETDLGCODE, 0, 0);
            const int id = GetDlgCtrlID(item);
            if (code & DLGC_DEFPUSHBUTTON) defaults[number].push_back(id);
            if ((code & DLGC_HASSETSEL) && !(GetWindowLongA(item, GWL_STYLE) & ES_READONLY))
                labels[number].push_back(previous.first & DLGC_STATIC ? previous.second : -id);
            previous = {code, id};
        }
        DestroyWindow(dialog);
    }
    EXPECT_EQ(defaults, (std::map<int, std::vector<int>>{{102, {IDOK}}, {132, {IDOK}}, {145, {IDOK}}, {146, {IDOK}}}));
    // The label of each edit box; an unlabelled one shows as minus its own id.
    EXPECT_EQ(labels,
              (std::map<int, std::vector<int>>{{102, {}}, {132, {}}, {145, {IDC_EXPLANATION}}, {146, {IDC_PROMPT}}}));
}

INSTANTIATE_TEST_SUITE_P(Resources, ProgramResources, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<Build>& build) { return std::string(build.param.name); });

}  // namespace
