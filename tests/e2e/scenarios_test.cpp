// The real programs under Wine, driven as a player would: each row starts from
// the sample installation registered as the game's (notice accepted), changes
// what it needs, acts, and says what must be seen and left behind.
#include "scenario.h"

namespace {

// The stand-in game's record of a start by Play: minimised in the install path,
// flux.ini free to open, the launcher already hidden.
const char kPlayed[] = "started dir=$install show=2 flux=0 launcher_visible=0 ";

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
    HANDLE file =
        CreateFileA((scene.install + "\\flux.ini").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SetFilePointer(file, 700 << 20, nullptr, FILE_BEGIN), DWORD(700 << 20));
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
}

// flux.ini replaced by a folder of its name.
void FluxAFolder(Scene& scene) {
    const std::string path = scene.install + "\\flux.ini";
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
}

// NUL bytes in lines that the patch leaves alone, in what it reads and in what it must write.
std::string WithNuls(std::string text) {
    for (const auto& change :
         {std::make_pair(std::string("edit with care."), std::string("edit\0with\0care.\0", 16)),
          std::make_pair(std::string("name = Commander"), std::string("name = Comm\0ander", 17))}) {
        const size_t at = text.find(change.first);
        EXPECT_NE(at, std::string::npos) << change.first;
        if (at != std::string::npos) text.replace(at, change.first.size(), change.second);
    }
    return text;
}
void FluxWithNuls(Scene& scene) {
    ASSERT_TRUE(WriteWholeFile(scene.install + "\\flux.ini", WithNuls(ReadWholeFile(scene.install + "\\flux.ini"))));
    ASSERT_TRUE(
        WriteWholeFile(scene.root + "\\expected.ini", WithNuls(ReadWholeFile("C:\\expected\\flux_enabled.ini"))));
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
    while (WriteFile(file, page.data(), DWORD(page.size()), &written, nullptr) && written == page.size()) {
    }
    CloseHandle(file);
    file = CreateFileA((install + "\\grows.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr) && written == 1) << "the small disk is not full";
    CloseHandle(file);
    DeleteFileA((install + "\\grows.txt").c_str());
}

// An install path of more than 300 characters.
void LongInstallPath(Scene&) {
    std::string path = "C:";
    while (path.size() <= 300) path += "\\Drifthaven";
    SetGameValue("InstallPath", REG_SZ, path + '\0');
}

// A command line of 32,000 characters, the program's quoted path included, ending in " -u".
const char* LongSilentTail() {
    static const std::string tail =
        std::string(32000 - std::string("\"C:\\launchers\\valkor.exe\" ").size() - 3, 'x') + " -u";
    return tail.c_str();
}

const Scenario kScenarios[] = {
    // The notice, until it is accepted once.
    {.name = "notice cancelled, then closed in silent mode", .arrange = NoNotice,
     .steps = {Start(kValkor), Window(Text(IDS_NOTICE_CAPTION)), Item(IDC_NOTICE, Text(IDS_NOTICE)),
               Item(IDOK, Text(IDS_OK)), Item(IDCANCEL, Text(IDS_CANCEL)), Click(IDCANCEL), End(),
               Start(kValkor, "-u"), Window(Text(IDS_NOTICE_CAPTION)), CloseBox(), End()},
     .registry = {kNoModKey}},
    {.name = "notice accepted with enter, then the other program starts without it", .arrange = NoNotice,
     .steps = {Start(kValkor), Window(Text(IDS_NOTICE_CAPTION)), Focus(IDOK), Key(VK_RETURN), Launcher(kValkor),
               Click(IDCANCEL), End(), Start(kNovalkor), Launcher(kNovalkor), Click(IDCANCEL), End()},
     .registry = kModValues},

    // Each failed check: its message, then the launcher closes.
    {.name = "install path of another type",
     .arrange = [](Scene& scene) { SetGameValue("InstallPath", REG_EXPAND_SZ, scene.install + '\0'); },
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_PATH)), End()}},
    {.name = "version stored as text",
     .arrange = [](Scene&) { SetGameValue("Version", REG_SZ, std::string("14\0", 3)); },
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_VERSION)), Box(Text(IDS_ENGINE_MISSING)),
               Box(Text(IDS_NO_VERSION)), End()}},
    {.name = "version 13", .arrange = [](Scene&) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)); },
     .steps = {Start(kValkor), Box(Text(IDS_ASK_CORRECT_VERSION), IDNO), Box(Text(IDS_VERSION_REQUIRED)), End()}},
    {.name = "mod files missing", .arrange = [](Scene& scene) { RemoveTree(scene.install + "\\mods"); },
     .steps = {Start(kValkor), Box(Text(IDS_MOD_MISSING)), End()}, .heard = ""},

    // Repairs of the game's key, with the player's consent.
    {.name = "key missing, not rebuilt", .arrange = [](Scene&) { DeleteKey(kGameKey); },
     .steps = {Start(kValkor), Box(Text(IDS_ASK_REBUILD), IDNO), End()}, .registry = {kNoGameKey}},
    {.name = "key missing, rebuilt from a typed directory and the detected build",
     .arrange = [](Scene& scene) { DeleteKey(kGameKey), Build14(scene); },
     .steps = {Start(kValkor), Box(Text(IDS_ASK_REBUILD), IDYES), Window(Text(IDS_FIND_CAPTION)),
               Type(IDC_PATH, "$install\\"), Click(IDOK), Box(Text(IDS_VERSION_DETECTED, "14"), IDOK),
               Box(Text(IDS_ASK_STORE_VERSION, "14"), IDYES), Launcher(kValkor), Click(IDCANCEL), End()},
     .registry = {kPathStored, Version(14)}},
    {.name = "wrong directory corrected by typing", .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Type(IDC_PATH, "C:\\windows"), Click(IDOK),
               Box(Text(IDS_NOT_IN_DIRECTORY), IDOK, Text(IDS_INCORRECT_DIRECTORY)), Type(IDC_PATH, "$install"),
               Click(IDOK), Launcher(kValkor), Click(IDCANCEL), End()},
     .registry = {kPathStored, Version(14)}},
    // The prefix's drives (tools/wine_prefix.sh): D: holds the game deep down, E:
    // a directory that contains itself, F: (a CD-ROM) a copy that must not count.
    {.name = "wrong directory corrected by a search of every fixed drive", .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Item(IDC_STATUS, Text(IDS_READY)),
               Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_FOUND)),
               Item(IDC_PATH, "D:\\Games\\Sub\\Deep\\Drifthaven"), Item(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH)),
               Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_NOT_FOUND)), Item(IDC_SEARCH, Text(IDS_START_SEARCH)),
               Item(IDC_PATH, "D:\\Games\\Sub\\Deep\\Drifthaven"), Click(IDOK), Launcher(kValkor), Click(IDCANCEL),
               End()},
     .registry = {kFoundStored}},
    // While a search runs only Cancel is enabled, and it has the keyboard; when the
    // search stops the keyboard is back in the edit box.
    {.name = "ok clicked during a search does nothing", .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDC_SEARCH), Click(IDOK),
               Until(IDC_STATUS, Text(IDS_FOUND)), NoBox(), Click(IDCANCEL), Box(Text(IDS_WRONG_INSTALL_PATH)), End()},
     .registry = {kElsewhereKept}},
    {.name = "escape during a search cancels it, escape again closes", .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDC_SEARCH), Focus(IDCANCEL), Escape(),
               Until(IDC_STATUS, Text(IDS_SEARCH_CANCELED)), Item(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH)),
               Focus(IDC_PATH), Escape(), Box(Text(IDS_WRONG_INSTALL_PATH)), End()},
     .registry = {kElsewhereKept}},
    {.name = "enter accepts the folder a search found", .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDC_SEARCH),
               Until(IDC_STATUS, Text(IDS_FOUND)), Focus(IDC_PATH), Key(VK_RETURN), Launcher(kValkor), Click(IDCANCEL),
               End()},
     .registry = {kFoundStored}},
    {.name = "version 13 corrected to the detected build 12",
     .arrange = [](Scene& scene) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)), Build12(scene); },
     .steps = {Start(kValkor), Box(Text(IDS_ASK_CORRECT_VERSION), IDYES), Box(Text(IDS_VERSION_DETECTED, "12")),
               Box(Text(IDS_ASK_STORE_VERSION, "12"), IDYES), Box(Text(IDS_VERSION_REQUIRED)), End()},
     .registry = {Version(12)}},
    {.name = "unknown build: the game started to read the version, then typed", .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_VERSION)), Box(Text(IDS_ASK_START_GAME), IDYES),
               Window(Text(IDS_VERSION_CAPTION)), Item(IDC_PROMPT, Text(IDS_PROMPT_AFTER_START)),
               Item(IDOK, Text(IDS_OK)), Item(IDCANCEL, Text(IDS_CANCEL)), Type(IDC_VERSION, "15"), Click(IDOK),
               Box(Text(IDS_ASK_STORE_VERSION, "15"), IDYES), Launcher(kValkor), Click(IDCANCEL), End()},
     .games = {"started dir=$install show=2 "}, .registry = {Version(15)}},
    // The way everyone enters a number: typed, then Enter; Escape leaves as Cancel does.
    {.name = "unknown build, game not started, the version typed and entered", .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_VERSION)), Box(Text(IDS_ASK_START_GAME), IDNO),
               Window(Text(IDS_VERSION_CAPTION)), Focus(IDC_VERSION), Type(IDC_VERSION, "15"), Key(VK_RETURN),
               Box(Text(IDS_ASK_STORE_VERSION, "15"), IDYES), Launcher(kValkor), Click(IDCANCEL), End()},
     .registry = {Version(15)}},
    // A sign is no digit: "-3" is no version, as on Windows (Wine's own reading takes signs).
    {.name = "unknown build, a sign typed for the version", .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_VERSION)), Box(Text(IDS_ASK_START_GAME), IDNO),
               Window(Text(IDS_VERSION_CAPTION)), Type(IDC_VERSION, "-3"), Key(VK_RETURN), Box(Text(IDS_NO_VERSION)),
               End()},
     .registry = {{kGameKey, "Version", REG_SZ, std::string("14\0", 3)}}},
    {.name = "unknown build, game not started, version window cancelled", .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(Text(IDS_ERROR_READING_VERSION)), Box(Text(IDS_ASK_START_GAME), IDNO),
               Window(Text(IDS_VERSION_CAPTION)), Item(IDC_PROMPT, Text(IDS_PROMPT_VERSION)), Click(IDCANCEL),
               Box(Text(IDS_NO_VERSION)), End()},
     .registry = {{kGameKey, "Version", REG_SZ, std::string("14\0", 3)}}},

    // The window and its buttons, in both programs.
    {.name = "valkor opens and cancel at once stops its taunt",
     .steps = {Start(kValkor), Launcher(kValkor), Playing(), Click(IDCANCEL), End()}, .heard = "cut"},
    // Wine told to look for WINMM beside the program first, as Windows does.
    {.name = "valkor's taunt sounds whole from the system's WINMM, not one planted beside it; escape closes",
     .steps = {StartCopy(kValkor, "planted"), Launcher(kValkor), Played(), Escape(), End()}, .heard = "154",
     .planted = "planted"},
    {.name = "novalkor's taunt sounds whole, then the close box closes",
     .steps = {Start(kNovalkor), Launcher(kNovalkor), Played(), CloseBox(), End()}, .heard = "133|138"},
    // No person can press the hidden button: its command is posted.
    {.name = "the hidden button's taunt cuts the one that sounds",
     .steps = {Start(kValkor), Launcher(kValkor), Playing(), Post(IDC_TAUNT), Played(), Click(IDCANCEL), End()},
     .heard = "cut, 154"},
    {.name = "readme and site of both programs",
     .steps = {Start(kValkor), Launcher(kValkor), Click(IDC_README), Launcher(kValkor), Click(IDC_VISIT_SITE),
               Launcher(kValkor), Click(IDCANCEL), End(), Start(kNovalkor), Launcher(kNovalkor), Click(IDC_README),
               Launcher(kNovalkor), Click(IDC_VISIT_SITE), Launcher(kNovalkor), Click(IDCANCEL), End()},
     .opened = {"full=$install\\readme_valkor.html exists=1", "http://www.mirefall.example/valkor/",
                "full=$install\\readme_english.html exists=1", "http://www.corvane.example/"}},

    // Play patches flux.ini, hides the window and starts the game.
    {.name = "valkor play stops its taunt", .steps = {Start(kValkor), Launcher(kValkor), Playing(), Click(IDOK), End()},
     .games = {kPlayed}, .flux = "flux_enabled.ini", .heard = "cut"},
    {.name = "novalkor play with enter", .arrange = FluxEnabled,
     .steps = {Start(kNovalkor), Launcher(kNovalkor), Key(VK_RETURN), End()}, .games = {kPlayed},
     .flux = "flux_disabled.ini"},
    {.name = "flux held open by another program",
     .arrange = [](Scene& scene) { HoldOpen(scene.install + "\\flux.ini"); },
     .steps = {Start(kValkor), Launcher(kValkor), Click(IDOK), Box(Text(IDS_ERROR_OPENING_FILE, "flux.ini")),
               Box(Text(IDS_ERROR_LOADING_OPTIONS)), End()}},
    {.name = "defaults missing",
     .arrange = [](Scene& scene) { FluxEnabled(scene); DeleteFileA((scene.install + "\\defaults.ini").c_str()); },
     .steps = {Start(kNovalkor), Launcher(kNovalkor), Click(IDOK), Box(Text(IDS_ERROR_OPENING_FILE, "defaults.ini")),
               Box(Text(IDS_ERROR_LOADING_OPTIONS)), End()},
     .flux = "flux_enabled.ini"},

    // The faults of a player's machine: a message, the file as it was, a normal end.
    {.name = "flux of 700 MB", .arrange = HugeFlux,
     .steps = {Start(kValkor), Launcher(kValkor), Click(IDOK), Box(Text(IDS_ERROR_LOADING_FILE, "flux.ini")),
               Box(Text(IDS_ERROR_LOADING_OPTIONS)), End()}},
    {.name = "full disk (needs the small disk that run.sh mounts)", .arrange = OnAFullDisk,
     .steps = {Start(kValkor), Launcher(kValkor), Click(IDOK), Box(Text(IDS_ERROR_SAVING_FILE, "flux.ini")),
               Box(Text(IDS_ERROR_LOADING_OPTIONS)), End()}},
    {.name = "flux a folder", .arrange = FluxAFolder,
     .steps = {Start(kValkor), Launcher(kValkor), Click(IDOK), Box(Text(IDS_ERROR_OPENING_FILE, "flux.ini")),
               Box(Text(IDS_ERROR_LOADING_OPTIONS)), End()}},
    {.name = "NUL bytes in flux", .arrange = FluxWithNuls, .steps = {Start(kValkor, "-u"), End()},
     .flux = "$root\\expected.ini"},
    {.name = "install path longer than 260 characters, so no executable there", .arrange = LongInstallPath,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDCANCEL), Box(Text(IDS_WRONG_INSTALL_PATH)),
               End()}},

    // The command line: -u anywhere in the tail, and only there.
    {.name = "silent novalkor", .arrange = FluxEnabled, .steps = {Start(kNovalkor, "-u"), End()},
     .flux = "flux_disabled.ini", .heard = ""},
    {.name = "silent valkor: capital U inside a word amid the tail, then -u at the end of 32,000 characters",
     .steps = {Start(kValkor, "one x-Undo two"), End(), Start(kValkor, LongSilentTail()), End()},
     .flux = "flux_enabled.ini"},
    {.name = "u, slash u and slash U are not silent, nor -u in the program's own path",
     .steps = {Start(kNovalkor, "u /u /U"), Launcher(kNovalkor), Click(IDCANCEL), End(), StartCopy(kValkor, "not-undone"),
               Launcher(kValkor), Click(IDCANCEL), End()}},
    // Tab walks the buttons in the template's order past the hidden one; Space presses the one it is on.
    {.name = "tab walks the launcher's buttons",
     .steps = {Start(kNovalkor), Launcher(kNovalkor), Focus(IDOK), Tab(), Focus(IDC_README), Tab(),
               Focus(IDC_VISIT_SITE), Tab(), Focus(IDCANCEL), Tab(), Focus(IDOK), Key(VK_TAB, VK_SHIFT),
               Focus(IDCANCEL), Key(VK_SPACE), End()}},
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
    {.name = "search past webs of links",
     .arrange = [](Scene& scene) { DeleteFileA((scene.install + "\\Drifthvn.exe").c_str()); },
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDC_SEARCH),
               Until(IDC_STATUS, Text(IDS_FOUND)), Item(IDC_PATH, "B:\\Deep\\Er\\Game"), Click(IDC_SEARCH),
               Until(IDC_PATH, "C:\\tools"), Item(IDC_STATUS, Text(IDS_FOUND)), Click(IDC_SEARCH),
               Until(IDC_STATUS, Text(IDS_NOT_FOUND)), Click(IDCANCEL), Box(Text(IDS_WRONG_INSTALL_PATH)), End()}},
};

INSTANTIATE_TEST_SUITE_P(Links, Scenarios, ::testing::ValuesIn(kLinks), Name);

// A Japanese player's Windows (tests/e2e/run.sh: the host's locale ja_JP.UTF-8,
// so code page 932 for the programs and this runner, and a fixed drive J: of its
// own). The installation is moved to J:\ゲーム\機能, written in code page 932; the
// second byte of 能 is 0x5C, a backslash's.
void InAJapaneseFolder(Scene& scene) {
    ASSERT_EQ(GetACP(), 932u) << "not a Japanese locale";
    const std::string folder = "J:\\\x83\x51\x81\x5B\x83\x80";  // J:\ゲーム
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string install = folder + "\\\x8B\x40\x94\x5C";  // J:\ゲーム\機能
    ASSERT_TRUE(CopyTree(scene.install, install));
    scene.install = install;
    WrongDirectory(scene);
}
const Scenario kJapanese[] = {
    {.name = "a japanese folder found by a search and ok", .arrange = InAJapaneseFolder,
     .steps = {Start(kValkor), Window(Text(IDS_WRONG_PATH_CAPTION)), Click(IDC_SEARCH),
               Until(IDC_STATUS, Text(IDS_FOUND)), Item(IDC_PATH, "$install"), Click(IDOK), Launcher(kValkor),
               Click(IDCANCEL), End()},
     .registry = {kPathStored}},
};

INSTANTIATE_TEST_SUITE_P(Japanese, Scenarios, ::testing::ValuesIn(kJapanese), Name);

}  // namespace
