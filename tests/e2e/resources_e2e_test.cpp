// The resources compiled into the programs: the texts, windows, picture, icons,
// sounds and version block they must show, read back from the built files the
// way Windows reads them, and the 32-bit deliverables' own headers and imports.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <vector>
#include "resources/dialog_templates.h"
#include "resources/string_table.h"
#include "scenario.h"

namespace {

// One built program: its name in messages, where it lies, and what differs between the two programs.
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
void PrintTo(const Build& build, std::ostream* out) { *out << build.path; }
std::string BuildName(const ::testing::TestParamInfo<Build>& info) { return info.param.name; }

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    return text;
}

std::string Hex(DWORD value) {
    char text[16];
    snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
    return text;
}

// Little-endian fields of a resource or file; reading past the end marks it bad instead of crashing.
class Reader {
public:
    Reader(const void* data, size_t size) : m_data(static_cast<const BYTE*>(data)), m_size(size) {}
    bool Ok() const { return m_ok; }
    size_t Pos() const { return m_pos; }
    size_t Size() const { return m_size; }
    void Seek(size_t pos) { pos <= m_size ? void(m_pos = pos) : void(m_ok = false); }
    void Align4() { Seek((m_pos + 3) & ~size_t(3)); }
    template <class T> T Get() {
        T value{};
        if (m_pos + sizeof(T) > m_size) m_ok = false;
        else memcpy(&value, m_data + m_pos, sizeof(T)), m_pos += sizeof(T);
        return value;
    }
    std::string Bytes(size_t count) {
        const size_t from = m_pos;
        Seek(m_pos + count);
        return m_ok ? std::string(reinterpret_cast<const char*>(m_data) + from, count) : std::string();
    }
    // A dialog's sz_Or_Ord: nothing, "#<n>" for an ordinal, or the UTF-16 text (non-ASCII as '?').
    std::string NameOrOrdinal() {
        WORD first = Get<WORD>();
        if (first == 0xFFFF) return "#" + std::to_string(Get<WORD>());
        std::string text;
        for (WORD c = first; c != 0 && m_ok; c = Get<WORD>()) text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }

private:
    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_ok = true;
};

// The program loaded as data only, so nothing of it runs and a 32-bit file opens from this 64-bit process.
class ProgramResources : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override {
        m_module = LoadLibraryExA(GetParam().path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        if (m_module == nullptr) m_module = LoadLibraryExA(GetParam().path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_module, nullptr) << GetParam().path << " error " << GetLastError();
    }
    void TearDown() override { if (m_module != nullptr) FreeLibrary(m_module); }
    Reader Resource(int id, LPCSTR type) const {
        HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
        HGLOBAL loaded = found != nullptr ? LoadResource(m_module, found) : nullptr;
        const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
        return Reader(data, data != nullptr ? SizeofResource(m_module, found) : 0);
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

// The programs carry exactly the texts and windows that the simulated Windows
// shows the unit tests (resources/*.def); the scenarios check the texts a player sees.
TEST_P(ProgramResources, StringTableIsTheOneTheUnitTestsSee) {
    SCOPED_TRACE(GetParam().name);
    for (UINT id = 0; id <= 200; ++id) {
        char buffer[4096] = {};
        const int length = LoadStringA(m_module, id, buffer, sizeof(buffer));
        const char* want = FindStringText(id);
        EXPECT_EQ(std::string(buffer, std::max(length, 0)), want != nullptr ? want : "") << "string " << id;
    }
    // The notice is shown in a multi-line edit, which breaks lines only at CR LF.
    const std::string notice = FindStringText(32);
    EXPECT_GT(notice.size(), 300u);
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), std::count(notice.begin(), notice.end(), '\r'));
    EXPECT_NE(notice.find("\r\n"), std::string::npos);
    EXPECT_NE(notice.find('"'), std::string::npos);
}

// The style bits that matter per class: all window bits, and the class's own bits listed here.
DWORD StyleMask(const std::string& cls) {
    const DWORD own = cls == "Button" ? 0xF | BS_FLAT
                    : cls == "Static" ? SS_TYPEMASK | SS_CENTERIMAGE | SS_REALSIZEIMAGE
                                      : ES_MULTILINE | ES_READONLY | ES_AUTOHSCROLL;
    return 0xFFFF0000 | own;
}

// Windows accepts the predefined classes by atom or by name.
std::string ClassName(const std::string& raw) {
    for (const char* known : {"#128Button", "#129Edit", "#130Static"})
        if (raw == std::string(known, 4) || Lower(raw) == Lower(known + 4)) return known + 4;
    return raw;
}

TEST_P(ProgramResources, DialogTemplatesAreTheOnesTheUnitTestsSee) {
    for (UINT id : {102u, 132u, 145u, 146u}) {
        SCOPED_TRACE(std::string(GetParam().name) + " dialog " + std::to_string(id));
        const DialogTemplate& want = *FindDialogTemplate(id);
        Reader in = Resource(int(id), RT_DIALOG);
        EXPECT_EQ(in.Get<WORD>(), 1);
        ASSERT_EQ(in.Get<WORD>(), 0xFFFF) << "missing, or not an extended template";
        in.Get<DWORD>();  // help id
        EXPECT_EQ(Hex(in.Get<DWORD>()), Hex(want.exStyle)) << "extended style";
        EXPECT_EQ(Hex(in.Get<DWORD>()), Hex(want.style)) << "style";
        const size_t count = in.Get<WORD>();
        in.Get<DWORD>();  // x, y
        EXPECT_EQ(in.Get<short>(), want.width);
        EXPECT_EQ(in.Get<short>(), want.height);
        for (const char* part : {"menu", "window class", "caption (the program sets its own)"})
            EXPECT_EQ(in.NameOrOrdinal(), "") << part;
        EXPECT_EQ(in.Get<WORD>(), 8) << "point size";
        in.Get<DWORD>();  // weight, italic, character set
        EXPECT_EQ(in.NameOrOrdinal(), "MS Sans Serif");
        ASSERT_EQ(count, want.controlCount);
        for (size_t i = 0; i < count; ++i) {
            const ControlTemplate& control = want.controls[i];
            SCOPED_TRACE("control " + std::to_string(control.id));
            in.Align4();
            in.Get<DWORD>();  // help id
            const DWORD exStyle = in.Get<DWORD>(), style = in.Get<DWORD>();
            const short x = in.Get<short>(), y = in.Get<short>(), cx = in.Get<short>(), cy = in.Get<short>();
            const DWORD got = in.Get<DWORD>();
            const std::string cls = ClassName(in.NameOrOrdinal()), title = in.NameOrOrdinal();
            in.Bytes(in.Get<WORD>());  // creation data
            ASSERT_TRUE(in.Ok()) << "template ends early";
            EXPECT_TRUE(got == DWORD(control.id) || (control.id < 0 && got == WORD(control.id))) << got;
            EXPECT_EQ(cls, control.windowClass);
            EXPECT_EQ(title, control.image != 0 ? "#" + std::to_string(control.image) : control.text);
            EXPECT_EQ((std::vector<int>{x, y, cx, cy}), (std::vector<int>{control.x, control.y, control.width, control.height}));
            EXPECT_EQ(Hex(style & StyleMask(cls)), Hex(control.style & StyleMask(cls))) << "style " << Hex(style);
            EXPECT_EQ(Hex(exStyle), Hex(control.exStyle)) << "extended style";
        }
    }
}

TEST_P(ProgramResources, PictureAndIconsAreUncompressedBitmapsOfTheirSizes) {
    SCOPED_TRACE(GetParam().name);
    Reader picture = Resource(129, RT_BITMAP);
    const BITMAPINFOHEADER bitmap = picture.Get<BITMAPINFOHEADER>();
    ASSERT_TRUE(picture.Ok()) << "no bitmap 129";
    EXPECT_EQ((std::vector<LONG>{bitmap.biWidth, bitmap.biHeight, bitmap.biBitCount, LONG(bitmap.biCompression)}),
              (std::vector<LONG>{512, GetParam().pictureHeight, 24, BI_RGB}))
        << "bitmap 129: width, height, bits, compression";
    EXPECT_GE(picture.Size(), bitmap.biSize + 512 * 3 * size_t(abs(bitmap.biHeight))) << "bitmap 129 cut short";

    // Windows picks the large and small icon, in 16 or 256 colours, from these four.
    Reader group = Resource(128, RT_GROUP_ICON);
    EXPECT_EQ(group.Get<DWORD>(), 0x10000u) << "icon group 128 header";
    const WORD count = group.Get<WORD>();
    std::set<std::vector<int>> sizes;
    for (WORD i = 0; i < count && group.Ok(); ++i) {
        const int width = group.Get<BYTE>(), height = group.Get<BYTE>();
        group.Get<DWORD>();  // colours, reserved, planes
        const int bits = group.Get<WORD>();
        const DWORD bytes = group.Get<DWORD>();
        const WORD id = group.Get<WORD>();
        sizes.insert({width, height, bits});
        SCOPED_TRACE("icon " + std::to_string(id));
        Reader icon = Resource(id, RT_ICON);
        const BITMAPINFOHEADER dib = icon.Get<BITMAPINFOHEADER>();
        ASSERT_TRUE(icon.Ok()) << "missing";
        EXPECT_EQ(icon.Size(), bytes);
        EXPECT_EQ(dib.biSize, sizeof(BITMAPINFOHEADER)) << "not a DIB";
        EXPECT_EQ((std::vector<int>{dib.biWidth, dib.biHeight / 2, dib.biBitCount}), (std::vector<int>{width, height, bits}));
    }
    EXPECT_TRUE(group.Ok()) << "icon group 128 cut short";
    EXPECT_EQ(sizes, (std::set<std::vector<int>>{{32, 32, 4}, {32, 32, 8}, {16, 16, 4}, {16, 16, 8}})) << "icon group 128";
}

TEST_P(ProgramResources, CarriesOnlyItsOwnTauntsAsCompleteWaves) {
    // Format, channels, rate, bytes per second (0: not checked), bits, extra bytes (0: not checked).
    const struct { int id; std::vector<DWORD> format; WORD extra; } kinds[] = {
        {154, {0x55, 1, 22050, 4000, 0}, 12},  // MPEG layer 3, with its decoder settings
        {133, {0x55, 2, 22050, 7000, 0}, 12},
        {138, {2, 1, 22050, 0, 4}, 0},  // MS ADPCM
    };
    SCOPED_TRACE(GetParam().name);
    EXPECT_EQ(Names("WAVE"), GetParam().waves);
    for (const auto& kind : kinds) {
        SCOPED_TRACE("WAVE " + std::to_string(kind.id));
        Reader wave = Resource(kind.id, "WAVE");
        if (!GetParam().waves.count(kind.id)) {
            EXPECT_EQ(wave.Size(), 0u) << "should be absent";
            continue;
        }
        ASSERT_EQ(wave.Bytes(4), "RIFF");
        EXPECT_EQ(wave.Get<DWORD>() + 8, wave.Size()) << "RIFF size";
        ASSERT_EQ(wave.Bytes(4), "WAVE");
        bool format = false, data = false;
        while (wave.Ok() && wave.Pos() + 8 <= wave.Size()) {
            const std::string chunk = wave.Bytes(4);
            const DWORD size = wave.Get<DWORD>();
            const size_t end = wave.Pos() + size + (size & 1);
            data = data || (chunk == "data" && size > 0 && wave.Pos() + size <= wave.Size());
            if (chunk == "fmt " && !format) {
                format = true;
                const WAVEFORMATEX fmt = wave.Get<WAVEFORMATEX>();
                EXPECT_EQ((std::vector<DWORD>{fmt.wFormatTag, fmt.nChannels, fmt.nSamplesPerSec,
                                              kind.format[3] ? fmt.nAvgBytesPerSec : 0, fmt.wBitsPerSample}),
                          kind.format);
                EXPECT_EQ(kind.extra ? fmt.cbSize : 0, kind.extra) << "extra bytes";
                EXPECT_GE(size, 18u + fmt.cbSize) << "format chunk shorter than its extra bytes";
            }
            wave.Seek(std::min(end, wave.Size()));
        }
        EXPECT_TRUE(format) << "no format chunk";
        EXPECT_TRUE(data) << "no whole data chunk";
    }
}

TEST_P(ProgramResources, VersionBlockNamesTheProgram) {
    SCOPED_TRACE(GetParam().name);
    std::vector<char> block(GetFileVersionInfoSizeA(GetParam().path, nullptr));
    ASSERT_FALSE(block.empty()) << "no version block";
    ASSERT_TRUE(GetFileVersionInfoA(GetParam().path, 0, DWORD(block.size()), block.data()));
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
    EXPECT_EQ(value("FileVersion"), "0.4");
    EXPECT_EQ(value("Comments"), "Beta7 (Final Public Beta)");
    EXPECT_EQ(value("InternalName"), "VALKOR");
    EXPECT_EQ(value("OriginalFilename"), GetParam().originalName);
    // Words that make Windows take a program for an installer and ask to raise its rights.
    const std::string description = Lower(value("FileDescription"));
    EXPECT_NE(description.find(GetParam().descriptionWord), std::string::npos) << description;
    for (const char* word : {"install", "setup", "update", "patch"})
        EXPECT_EQ(description.find(word), std::string::npos) << description;
}

INSTANTIATE_TEST_SUITE_P(Resources, ProgramResources, ::testing::ValuesIn(kBuilds), BuildName);

// The deliverables run on plain 32-bit Windows with nothing installed beside them.
class DeliverableFile : public ProgramResources {};

TEST_P(DeliverableFile, IsA32BitGuiProgramWithoutManifestImportingOnlySystemDlls) {
    SCOPED_TRACE(GetParam().name);
    const std::string file = ReadWholeFile(GetParam().path);
    Reader in(file.data(), file.size());
    in.Seek(0x3C);
    in.Seek(in.Get<DWORD>());
    ASSERT_EQ(in.Bytes(4), std::string("PE\0\0", 4));
    const IMAGE_FILE_HEADER header = in.Get<IMAGE_FILE_HEADER>();
    const size_t sections = in.Pos() + header.SizeOfOptionalHeader;
    const IMAGE_OPTIONAL_HEADER32 optional = in.Get<IMAGE_OPTIONAL_HEADER32>();
    ASSERT_TRUE(in.Ok());
    EXPECT_EQ(header.Machine, IMAGE_FILE_MACHINE_I386);
    ASSERT_EQ(optional.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
    EXPECT_EQ(optional.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    EXPECT_EQ(Names(RT_MANIFEST), std::set<int>()) << "a manifest";

    auto offset = [&](DWORD rva) -> size_t {
        Reader table(file.data(), file.size());
        table.Seek(sections);
        for (WORD i = 0; i < header.NumberOfSections && table.Ok(); ++i) {
            const IMAGE_SECTION_HEADER s = table.Get<IMAGE_SECTION_HEADER>();
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
                return s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return file.size();
    };
    const std::set<std::string> allowed = {"kernel32", "user32", "gdi32", "advapi32", "shell32", "winmm", "msvcrt"};
    Reader imports(file.data(), file.size());
    imports.Seek(offset(optional.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    int count = 0;
    for (IMAGE_IMPORT_DESCRIPTOR entry; imports.Ok() && (entry = imports.Get<IMAGE_IMPORT_DESCRIPTOR>()).Name != 0;) {
        const size_t at = offset(entry.Name);
        ASSERT_LT(at, file.size()) << "import name outside the file";
        std::string dll = Lower(file.c_str() + at);
        if (dll.size() > 4 && dll.compare(dll.size() - 4, 4, ".dll") == 0) dll.resize(dll.size() - 4);
        EXPECT_TRUE(allowed.count(dll)) << "imports " << file.c_str() + at;
        ++count;
    }
    EXPECT_TRUE(imports.Ok()) << "import table cut short";
    EXPECT_GT(count, 0) << "no imports read";
}

INSTANTIATE_TEST_SUITE_P(Resources, DeliverableFile, ::testing::Values(kBuilds[0], kBuilds[1]), BuildName);

}  // namespace
