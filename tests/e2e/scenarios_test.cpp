// The real programs under Wine, driven as a player would: each row starts from
// the sample installation registered as the game's (notice accepted), changes
// what it needs, acts, and says what must be seen and left behind.
#include "resources/string_table.h"
#include "scenario.h"

namespace {

// A text of the programs' string table.
const char* T(UINT id) { return FindStringText(id); }
// The stand-in game's record of a start by Play: minimised in the install path,
// flux.ini free to open, the launcher already hidden.
const char kPlayed[] = "started dir=$install show=2 flux=0 launcher_visible=0 ";

#define SET_VERSION(n) \
    "Set Drifthaven to version " #n " in the registry?  Please note that if this value is incorrect, patches may " \
    "not install correctly."
const RegValue kNoGameKey{kGameKey, nullptr, 0, "<no key>"};
const RegValue kPathStored{kGameKey, "InstallPath", REG_SZ, std::string("$install") + '\0'};
const RegValue kFoundStored{kGameKey, "InstallPath", REG_SZ, std::string("D:\\Games\\Sub\\Deep\\Drifthaven") + '\0'};
const RegValue kElsewhereKept{kGameKey, "InstallPath", REG_SZ, std::string("C:\\Elsewhere") + '\0'};
RegValue Version(char major) { return {kGameKey, "Version", REG_DWORD, std::string(1, major) + std::string(3, '\0')}; }

// The engine library of a known build: build 14, or the older build 12.
void Build14(Scene& scene) { MakeFile(scene.install + "\\bin\\release\\corv2.dll", 1556480, 0x01C14B80, 0x59F1CB00); }
void Build12(Scene& scene) { MakeFile(scene.install + "\\bin\\release\\corv2.dll", 1544192, 0x01C1066C, 0x8161F600); }
// A version that cannot be read, and a library of no known build.
void UnknownBuild(Scene& scene) {
    SetGameValue("Version", REG_SZ, std::string("14\0", 3));
    MakeFile(scene.install + "\\bin\\release\\corv2.dll", 1556480, 0x01C14B80, 0x59F1CB00 + 10000000);
}

void WrongDirectory(Scene&) { SetGameValue("InstallPath", REG_SZ, std::string("C:\\Elsewhere") + '\0'); }
void NoNotice(Scene&) { DeleteKey("Software\\Vortigen\\Drifthaven\\Mods"); }
void FluxEnabled(Scene& scene) {
    WriteWholeFile(scene.install + "\\flux.ini", ReadWholeFile("C:\\expected\\flux_enabled.ini"));
}

const RegValue kNoModKey{kModKey, nullptr, 0, "<no key>"};
const std::vector<RegValue> kModValues = {
    {kModKey, "Agreed", REG_DWORD, std::string("\1\0\0\0", 4)},
    {kModKey, "Version", REG_SZ, std::string("0.4Alpha\0", 9)},
    {kModKey, "Unload", REG_SZ, std::string("novalkor.exe -u\0", 16)},
};

// The faults of a player's machine.
// flux.ini damaged into 700 MB: the settings, then zeros (sparse on the host).
void HugeFlux(Scene& scene) {
    HANDLE file = CreateFileA((scene.install + "\\flux.ini").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(file, 700 << 20, nullptr, FILE_BEGIN), DWORD(700 << 20));
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

// A file of the installation replaced by a folder of its name.
template <const char* name> void Folder(Scene& scene) {
    const std::string path = scene.install + "\\" + name;
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
}
const char kFluxName[] = "flux.ini";
const char kDefaultsName[] = "defaults.ini";

// NUL bytes in lines that the patch leaves alone, in what it reads and in what it must write.
std::string WithNuls(std::string text) {
    for (const auto& change : {std::make_pair(std::string("edit with care."), std::string("edit\0with\0care.\0", 16)),
                               std::make_pair(std::string("name = Commander"), std::string("name = Comm\0ander", 17))}) {
        const size_t at = text.find(change.first);
        EXPECT_NE(at, std::string::npos) << change.first;
        if (at != std::string::npos) text.replace(at, change.first.size(), change.second);
    }
    return text;
}
void FluxWithNuls(Scene& scene) {
    ASSERT_TRUE(WriteWholeFile(scene.install + "\\flux.ini", WithNuls(ReadWholeFile(scene.install + "\\flux.ini"))));
    ASSERT_TRUE(WriteWholeFile(scene.root + "\\expected.ini", WithNuls(ReadWholeFile("C:\\expected\\flux_enabled.ini"))));
}

// The installation moved to the small disk of tests/e2e/run.sh, with flux.ini
// a few bytes short of the end of its last page, and the disk then filled to
// its last page: the mod's values need a page that the disk no longer has.
void OnAFullDisk(Scene& scene) {
    ASSERT_NE(GetFileAttributesA(kSmallDiskMounted), INVALID_FILE_ATTRIBUTES)
        << "no small disk at " << kSmallDisk << ": tests/e2e/run.sh mounts a tmpfs there, as root";
    const std::string install = std::string(kSmallDisk) + "\\Drifthaven";
    const std::string filler = std::string(kSmallDisk) + "\\filler";
    RemoveTree(install);
    DeleteFileA(filler.c_str());
    ASSERT_TRUE(CopyTree(scene.install, install));
    scene.install = install;
    SetGameValue("InstallPath", REG_SZ, install + '\0');
    std::string flux = ReadWholeFile(install + "\\flux.ini");
    flux.insert(flux.find("\r\n") + 2, "; " + std::string(4096 - 10 - flux.size() - 4, '.') + "\r\n");
    ASSERT_EQ(flux.size(), 4096u - 10);
    ASSERT_TRUE(WriteWholeFile(install + "\\flux.ini", flux));
    HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::string page(4096, 'f');
    DWORD written = 0;
    while (WriteFile(file, page.data(), DWORD(page.size()), &written, nullptr) && written == page.size()) {}
    CloseHandle(file);
    file = CreateFileA((install + "\\grows.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr) && written == 1) << "the small disk is not full";
    CloseHandle(file);
    DeleteFileA((install + "\\grows.txt").c_str());
}

// A command line of 32,000 characters, the program's quoted path included, ending in " -u".
const char* LongSilentTail() {
    static const std::string tail =
        std::string(32000 - std::string("\"C:\\launchers\\valkor.exe\" ").size() - 3, 'x') + " -u";
    return tail.c_str();
}

std::vector<Step> OpenAndCancel(const ProgramCase& program, const char* tail = "") {
    return {Start(program, tail), Launcher(program), Click(IDCANCEL), End()};
}

const Scenario kScenarios[] = {
    // The notice, until it is accepted once.
    {"notice cancelled", NoNotice,
     {Start(kValkor), Window("No Warranty"), Item(1002, FindStringText(32)), Item(IDOK, "OK"), Item(IDCANCEL, "Cancel"),
      Click(IDCANCEL), End()},
     {}, nullptr, {kNoModKey}},
    {"notice closed in silent mode", NoNotice, {Start(kValkor, "-u"), Window("No Warranty"), CloseBox(), End()},
     {}, nullptr, {kNoModKey}},
    {"notice accepted with enter, then the other program starts without it", NoNotice,
     {Start(kValkor), Window("No Warranty"), Focus(IDOK), Key(VK_RETURN), Launcher(kValkor), Click(IDCANCEL), End(),
      Start(kNovalkor), Launcher(kNovalkor), Click(IDCANCEL), End()},
     {}, nullptr, kModValues},

    // Each failed check: its message, then the launcher closes.
    {"install path of another type",
     [](Scene& scene) { SetGameValue("InstallPath", REG_EXPAND_SZ, scene.install + '\0'); },
     {Start(kValkor), Box("Error reading Drifthaven installation path."), End()}},
    {"no executable in the install path",
     [](Scene& scene) { DeleteFileA((scene.install + "\\Drifthvn.exe").c_str()); },
     {Start(kValkor), Window("Incorrect Install Path"), Click(IDCANCEL),
      Box("Cannot continue due to incorrect Drifthaven install path."), End()}},
    {"version stored as text", [](Scene&) { SetGameValue("Version", REG_SZ, std::string("14\0", 3)); },
     {Start(kValkor), Box(T(53)), Box("Critical file not found checking for version"),
      Box("Cannot continue without correct version information."), End()}},
    {"version 13", [](Scene&) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)); },
     {Start(kValkor), Box(T(120), IDNO), Box(T(33)), End()}},
    {"mod files missing", [](Scene& scene) { RemoveTree(scene.install + "\\mods"); },
     {Start(kValkor), Box("Could not find Valkor mod."), End()}, {}, nullptr, {}, ""},

    // Repairs of the game's key, with the player's consent.
    {"key missing, not rebuilt", [](Scene&) { DeleteKey(kGameKey); }, {Start(kValkor), Box(T(115), IDNO), End()},
     {}, nullptr, {kNoGameKey}},
    {"key missing, rebuilt from a typed directory and the detected build",
     [](Scene& scene) { DeleteKey(kGameKey), Build14(scene); },
     {Start(kValkor), Box(T(115), IDYES), Window("Find Drifthaven"), Type(1004, "$install\\"), Click(IDOK),
      Box("Your Drifthaven version has been autodetected as 14.", IDOK), Box(SET_VERSION(14), IDYES),
      Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, {kPathStored, Version(14)}},
    {"wrong directory corrected by typing", WrongDirectory,
     {Start(kValkor), Window("Incorrect Install Path"), Type(1004, "C:\\windows"), Click(IDOK),
      Box("Corvane 2: Drifthaven not found in specified directory", IDOK, "Incorrect Directory"),
      Type(1004, "$install"), Click(IDOK), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, {kPathStored, Version(14)}},
    // The prefix's drives (tools/wine_prefix.sh): D: holds the game deep down, E:
    // a directory that contains itself, F: (a CD-ROM) a copy that must not count.
    {"wrong directory corrected by a search of every fixed drive", WrongDirectory,
     {Start(kValkor), Window("Incorrect Install Path"), Item(1006, "Ready"), Click(1005), Until(1006, "Found"),
      Item(1004, "D:\\Games\\Sub\\Deep\\Drifthaven"), Item(1005, "Continue Search"), Click(1005),
      Until(1006, "Not found"), Item(1005, "Start Search"), Item(1004, "D:\\Games\\Sub\\Deep\\Drifthaven"),
      Click(IDOK), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, {kFoundStored}},
    // While a search runs only Cancel is enabled, and it has the keyboard; when the
    // search stops the keyboard is back in the edit box.
    {"ok clicked during a search does nothing", WrongDirectory,
     {Start(kValkor), Window("Incorrect Install Path"), Click(1005), Click(IDOK), Until(1006, "Found"), NoBox(),
      Click(IDCANCEL), Box("Cannot continue due to incorrect Drifthaven install path."), End()},
     {}, nullptr, {kElsewhereKept}},
    {"escape during a search cancels it, escape again closes", WrongDirectory,
     {Start(kValkor), Window("Incorrect Install Path"), Click(1005), Focus(IDCANCEL), Escape(),
      Until(1006, "Search canceled"), Item(1005, "Continue Search"), Focus(1004), Escape(),
      Box("Cannot continue due to incorrect Drifthaven install path."), End()},
     {}, nullptr, {kElsewhereKept}},
    {"enter accepts the folder a search found", WrongDirectory,
     {Start(kValkor), Window("Incorrect Install Path"), Click(1005), Until(1006, "Found"), Focus(1004),
      Key(VK_RETURN), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, {kFoundStored}},
    {"version 13 corrected to the detected build 12",
     [](Scene& scene) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)), Build12(scene); },
     {Start(kValkor), Box(T(120), IDYES), Box("Your Drifthaven version has been autodetected as 12."),
      Box(SET_VERSION(12), IDYES), Box(T(33)), End()},
     {}, nullptr, {Version(12)}},
    {"unknown build: the game started to read the version, then typed", UnknownBuild,
     {Start(kValkor), Box(T(53)), Box(T(112), IDYES), Window("Enter Drifthaven Version"),
      Item(1008, "Please enter the major version number, which is represented by the 'n's in \"Drifthaven Fnn.x\"."),
      Item(IDOK, "OK"), Item(IDCANCEL, "Cancel"), Type(1004, "15"), Click(IDOK), Box(SET_VERSION(15), IDYES),
      Launcher(kValkor), Click(IDCANCEL), End()},
     {"started dir=$install show=2 "}, nullptr, {Version(15)}},
    // The way everyone enters a number: typed, then Enter; Escape leaves as Cancel does.
    {"unknown build, game not started, the version typed and entered", UnknownBuild,
     {Start(kValkor), Box(T(53)), Box(T(112), IDNO), Window("Enter Drifthaven Version"), Focus(1004),
      Type(1004, "15"), Key(VK_RETURN), Box(SET_VERSION(15), IDYES), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, {Version(15)}},
    {"unknown build, version typed, then escape", UnknownBuild,
     {Start(kValkor), Box(T(53)), Box(T(112), IDNO), Window("Enter Drifthaven Version"), Type(1004, "15"), Escape(),
      Box("Cannot continue without correct version information."), End()},
     {}, nullptr, {{kGameKey, "Version", REG_SZ, std::string("14\0", 3)}}},
    {"unknown build, game not started, version window cancelled", UnknownBuild,
     {Start(kValkor), Box(T(53)), Box(T(112), IDNO), Window("Enter Drifthaven Version"),
      Item(1008, "Please enter the major version number of the installation of Drifthaven."), Click(IDCANCEL),
      Box("Cannot continue without correct version information."), End()},
     {}, nullptr, {{kGameKey, "Version", REG_SZ, std::string("14\0", 3)}}},

    // The window and its buttons, in both programs.
    {"valkor opens and cancel at once stops its taunt", nullptr,
     {Start(kValkor), Launcher(kValkor), Playing(), Click(IDCANCEL), End()}, {}, nullptr, {}, "cut"},
    {"valkor's taunt sounds whole, then escape closes", nullptr,
     {Start(kValkor), Launcher(kValkor), Played(), Escape(), End()}, {}, nullptr, {}, "154"},
    {"novalkor's taunt sounds whole, then the close box closes", nullptr,
     {Start(kNovalkor), Launcher(kNovalkor), Played(), CloseBox(), End()}, {}, nullptr, {}, "133|138"},
    // No person can press the hidden button: its command is posted.
    {"the hidden button's taunt cuts the one that sounds", nullptr,
     {Start(kValkor), Launcher(kValkor), Playing(), Post(1003), Played(), Click(IDCANCEL), End()}, {}, nullptr,
     {}, "cut, 154"},
    {"valkor readme and site", nullptr,
     {Start(kValkor), Launcher(kValkor), Click(1000), Launcher(kValkor), Click(1006), Launcher(kValkor), Click(IDCANCEL),
      End()},
     {}, nullptr, {}, nullptr, {"full=$install\\readme_valkor.html exists=1", "http://www.mirefall.example/valkor/"}},
    {"novalkor readme and site", nullptr,
     {Start(kNovalkor), Launcher(kNovalkor), Click(1000), Launcher(kNovalkor), Click(1006), Launcher(kNovalkor),
      Click(IDCANCEL), End()},
     {}, nullptr, {}, nullptr, {"full=$install\\readme_english.html exists=1", "http://www.corvane.example/"}},

    // Play patches flux.ini, hides the window and starts the game.
    {"valkor play stops its taunt", nullptr, {Start(kValkor), Launcher(kValkor), Playing(), Click(IDOK), End()},
     {kPlayed}, "flux_enabled.ini", {}, "cut"},
    {"novalkor play with enter", FluxEnabled, {Start(kNovalkor), Launcher(kNovalkor), Key(VK_RETURN), End()},
     {kPlayed}, "flux_disabled.ini"},
    {"flux held open by another program",
     [](Scene& scene) { HoldOpen(scene.install + "\\flux.ini"); },
     {Start(kValkor), Launcher(kValkor), Click(IDOK), Box("Error opening the file flux.ini."), Box(T(34)), End()}},
    {"defaults missing",
     [](Scene& scene) {
         FluxEnabled(scene);
         DeleteFileA((scene.install + "\\defaults.ini").c_str());
     },
     {Start(kNovalkor), Launcher(kNovalkor), Click(IDOK), Box("Error opening the file defaults.ini."), Box(T(34)),
      End()},
     {}, "flux_enabled.ini"},

    // The faults of a player's machine: a message, the file as it was, a normal end.
    {"flux of 700 MB", HugeFlux,
     {Start(kValkor), Launcher(kValkor), Click(IDOK), Box("Error loading flux.ini."), Box(T(34)), End()}},
    {"flux of 700 MB in silent mode", HugeFlux, {Start(kNovalkor, "-u"), Box("Error loading flux.ini."), End()}},
    {"full disk (needs the small disk that run.sh mounts)", OnAFullDisk,
     {Start(kValkor), Launcher(kValkor), Click(IDOK), Box("Error saving flux.ini."), Box(T(34)), End()}},
    {"flux a folder", Folder<kFluxName>,
     {Start(kValkor), Launcher(kValkor), Click(IDOK), Box("Error opening the file flux.ini."), Box(T(34)), End()}},
    {"defaults a folder", Folder<kDefaultsName>,
     {Start(kNovalkor), Launcher(kNovalkor), Click(IDOK), Box("Error opening the file defaults.ini."), Box(T(34)),
      End()}},
    {"NUL bytes in flux", FluxWithNuls, {Start(kValkor, "-u"), End()}, {}, "$root\\expected.ini"},
    {"install path longer than 260 characters",
     [](Scene&) {
         std::string path = "C:";
         while (path.size() <= 300) path += "\\Drifthaven";
         SetGameValue("InstallPath", REG_SZ, path + '\0');
     },
     {Start(kValkor), Window("Incorrect Install Path"), Click(IDCANCEL), Box(T(42)), End()}},
    {"silent valkor at the end of a 32,000-character command line", nullptr, {Start(kValkor, LongSilentTail()), End()},
     {}, "flux_enabled.ini"},

    // The command line: -u anywhere in the tail, and only there.
    {"silent novalkor", FluxEnabled, {Start(kNovalkor, "-u"), End()}, {}, "flux_disabled.ini", {}, ""},
    {"silent valkor, capital U inside a word amid the tail", nullptr, {Start(kValkor, "one x-Undo two"), End()}, {},
     "flux_enabled.ini"},
    {"u, slash u and slash U are not silent", nullptr, OpenAndCancel(kNovalkor, "u /u /U")},
    // Tab walks the buttons in the template's order past the hidden one; Space presses the one it is on.
    {"tab walks the launcher's buttons", nullptr,
     {Start(kNovalkor), Launcher(kNovalkor), Focus(IDOK), Tab(), Focus(1000), Tab(), Focus(1006), Tab(),
      Focus(IDCANCEL), Tab(), Focus(IDOK), Key(VK_TAB, VK_SHIFT), Focus(IDCANCEL), Key(VK_SPACE), End()}},
    {"-u in the program's own path is not silent", nullptr,
     {StartCopy(kValkor, "not-undone"), Launcher(kValkor), Click(IDCANCEL), End()}},
};

class Scenarios : public ::testing::TestWithParam<Scenario> {};

TEST_P(Scenarios, Run) { RunScenario(GetParam()); }

std::string Name(const ::testing::TestParamInfo<Scenario>& info) {
    std::string name;
    for (const char* c = info.param.name; *c != '\0'; ++c)
        if (isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(E2E, Scenarios, ::testing::ValuesIn(kScenarios), Name);

// In a prefix as Wine makes it for a player (tests/e2e/run.sh): drive C: fixed,
// with its links into the home folder that holds the prefix, and a fixed drive B:
// woven with links back to its own directories, the game deeper down.
const Scenario kLinks[] = {
    // The status reads "Found" before and after the second find, so the path's change is waited for.
    {"search past webs of links",
     [](Scene& scene) { DeleteFileA((scene.install + "\\Drifthvn.exe").c_str()); },
     {Start(kValkor), Window("Incorrect Install Path"), Click(1005), Until(1006, "Found"),
      Item(1004, "B:\\Deep\\Er\\Game"), Click(1005), Until(1004, "C:\\tools"), Item(1006, "Found"), Click(1005),
      Until(1006, "Not found"), Click(IDCANCEL), Box("Cannot continue due to incorrect Drifthaven install path."), End()}},
};

INSTANTIATE_TEST_SUITE_P(Links, Scenarios, ::testing::ValuesIn(kLinks), Name);

}  // namespace
