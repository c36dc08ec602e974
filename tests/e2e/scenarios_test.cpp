// The real programs under Wine, driven as a player would: each row starts from
// the sample installation registered as the game's (notice accepted), changes
// what it needs, acts, and says what must be seen and left behind.
#include <algorithm>
#include <regex>
#include "scenario.h"

namespace {

// The stand-in game's record of a start by Play: minimised in the install path,
// flux.ini free to open, the launcher already hidden.
const char kPlayed[] = "started dir=$install show=2 flux=0 launcher_visible=0 ";

const RegValue kPathStored{kGameKey, "InstallPath", REG_SZ, "$install"};
RegValue Version(DWORD major) { return {kGameKey, "Version", REG_DWORD, Dword(major)}; }
const std::vector<RegValue> kModValues = {{kModKey, "Agreed", REG_DWORD, Dword(1)},
                                          {kModKey, "Version", REG_SZ, "0.4Alpha"},
                                          {kModKey, "Unload", REG_SZ, "novalkor.exe -u"}};

// The engine library of a known build: build 14 (made later, of none), or the older build 12.
void Build14(Scene& scene, DWORD later = 0) {
    MakeFile(scene.install + "\\bin\\release\\corv2.dll", 1556480, 0x01C14B80, 0x59F1CB00 + later);
}
void Build12(Scene& scene) { MakeFile(scene.install + "\\bin\\release\\corv2.dll", 1544192, 0x01C1066C, 0x8161F600); }
// A version that cannot be read, and a library of no known build (a second later than build 14's).
void UnknownBuild(Scene& scene) { SetGameValue("Version", REG_SZ, "14"), Build14(scene, 10000000); }

void WrongDirectory(Scene&) { SetGameValue("InstallPath", REG_SZ, "C:\\Elsewhere"); }
void NoNotice(Scene&) { DeleteKey("Software\\Vortigen\\Drifthaven\\Mods"); }
void FluxEnabled(Scene& scene) {
    CopyFileA("C:\\expected\\flux_enabled.ini", (scene.install + "\\flux.ini").c_str(), FALSE);
}
// The installation copied to a folder of its name in another (made when missing), and registered there.
void MoveInstall(Scene& scene, const std::string& parent, const std::string& name) {
    CreateDirectoryA(parent.c_str(), nullptr);
    RemoveTree(parent + "\\" + name);
    ASSERT_TRUE(CopyTree(scene.install, parent + "\\" + name));
    scene.install = parent + "\\" + name;
    SetGameValue("InstallPath", REG_SZ, scene.install);
}

// The faults of a player's machine.
// flux.ini replaced by a folder of its name.
void FluxAFolder(Scene& scene) {
    const std::string path = scene.install + "\\flux.ini";
    ASSERT_TRUE(DeleteFileA(path.c_str()));
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
}

// NUL bytes in lines that the patch leaves alone, in what it reads and in what it must write.
std::string WithNuls(const std::string& text) {
    const std::string nuls = std::regex_replace(
        std::regex_replace(text, std::regex("edit with care\\."), std::string("edit\0with\0care.\0", 16)),
        std::regex("name = Commander"), std::string("name = Comm\0ander", 17));
    EXPECT_EQ(std::count(nuls.begin(), nuls.end(), '\0'), 4) << "the lines to put NUL bytes in are not there";
    return nuls;
}
void FluxWithNuls(Scene& scene) {
    ASSERT_TRUE(WriteWholeFile(scene.install + "\\flux.ini", WithNuls(ReadWholeFile(scene.install + "\\flux.ini"))));
    ASSERT_TRUE(
        WriteWholeFile(scene.root + "\\expected.ini", WithNuls(ReadWholeFile("C:\\expected\\flux_enabled.ini"))));
}

// The installation moved to the small disk of tests/e2e/run.sh, with flux.ini
// a few bytes short of the end of its last page, and the disk then filled to
// its last page: the mod's values need a page that the disk no longer has (the
// row's message of a failed save shows that the disk was full).
void OnAFullDisk(Scene& scene) {
    ASSERT_NE(GetFileAttributesA((std::string(kSmallDisk) + "\\mounted").c_str()), INVALID_FILE_ATTRIBUTES)
        << "no small disk at " << kSmallDisk << ": tests/e2e/run.sh mounts a tmpfs there, as root";
    const std::string filler = std::string(kSmallDisk) + "\\filler";
    DeleteFileA(filler.c_str());
    MoveInstall(scene, kSmallDisk, "Drifthaven");
    std::string flux = ReadWholeFile(scene.install + "\\flux.ini");
    flux.insert(flux.find("\r\n") + 2, "; " + std::string(4096 - 10 - flux.size() - 4, '.') + "\r\n");
    ASSERT_EQ(flux.size(), 4096u - 10);
    ASSERT_TRUE(WriteWholeFile(scene.install + "\\flux.ini", flux));
    // What fits of more than the disk holds is kept.
    ASSERT_FALSE(WriteWholeFile(filler, std::string(64 << 20, 'f'))) << "the small disk holds 64 MiB";
}

// An install path of more than 300 characters.
void LongInstallPath(Scene&) {
    std::string path = "C:";
    while (path.size() <= 300) path += "\\Drifthaven";
    SetGameValue("InstallPath", REG_SZ, path);
}

// Play refused by a fault: the file's message, then that the options could not be loaded.
std::vector<Step> PlayRefused(UINT message, const char* file = "flux.ini", const ProgramCase& program = kValkor) {
    return {Start(program), Launcher(IDOK), Box(message, IDOK, {file}), Box(IDS_ERROR_LOADING_OPTIONS)};
}

const Scenario kScenarios[] = {
    // The notice, until it is accepted once.
    {.name = "notice cancelled, then closed in silent mode", .arrange = NoNotice,
     .steps = {Start(kValkor), Window(IDS_NOTICE_CAPTION), Item(IDC_NOTICE, Text(IDS_NOTICE)), Item(IDOK, Text(IDS_OK)),
               Item(IDCANCEL, Text(IDS_CANCEL)), Click(IDCANCEL), Start(kValkor, "-u"), Window(IDS_NOTICE_CAPTION),
               CloseBox()},
     .registry = {{kModKey, nullptr, 0, "<no key>"}}},

    // Each failed check: its message, then the launcher closes.
    {.name = "install path of another type",
     .arrange = [](Scene& scene) { SetGameValue("InstallPath", REG_EXPAND_SZ, scene.install); },
     .steps = {Start(kValkor), Box(IDS_ERROR_READING_PATH)}},
    {.name = "version stored as text", .arrange = [](Scene&) { SetGameValue("Version", REG_SZ, "14"); },
     .steps = {Start(kValkor), Box(IDS_ERROR_READING_VERSION), Box(IDS_ENGINE_MISSING), Box(IDS_NO_VERSION)}},
    {.name = "mod files missing", .arrange = [](Scene& scene) { RemoveTree(scene.install + "\\mods"); },
     .steps = {Start(kValkor), Box(IDS_MOD_MISSING)}, .heard = ""},

    // Repairs of the game's key, with the player's consent.
    // Each repair declined first: the next start finds the same fault (only a missing key is offered a rebuild).
    {.name = "key missing, not rebuilt, then rebuilt from a typed directory and the detected build",
     .arrange = [](Scene& scene) { DeleteKey(kGameKey), Build14(scene); },
     .steps = {Start(kValkor), Box(IDS_ASK_REBUILD, IDNO), Start(kValkor), Box(IDS_ASK_REBUILD, IDYES),
               Window(IDS_FIND_CAPTION), Type(IDC_PATH, "$install\\"), Click(IDOK),
               Box(IDS_VERSION_DETECTED, IDOK, {"14"}), Box(IDS_ASK_STORE_VERSION, IDYES, {"14"}), Launcher(IDCANCEL)},
     .registry = {kPathStored, Version(14)}},
    // An install path too long for any executable to be found there: the find-game window. Browse opens
    // the folder picker with the keyboard in its own folder box, where a person may type the folder.
    {.name = "install path longer than 260 characters corrected with browse, a wrong directory typed first",
     .arrange = LongInstallPath,
     .steps = {Start(kValkor), Window(IDS_WRONG_PATH_CAPTION), Type(IDC_PATH, "C:\\windows"), Click(IDOK),
               Box(IDS_NOT_IN_DIRECTORY, IDOK, {}, IDS_INCORRECT_DIRECTORY), Key('B', VK_MENU), kPicker, Focus(edt1),
               Key(VK_ESCAPE), Window(IDS_WRONG_PATH_CAPTION), Item(IDC_PATH, "C:\\windows"), Click(IDC_BROWSE),
               kPicker, Type(edt1, "$install"), Key(VK_RETURN), Window(IDS_WRONG_PATH_CAPTION),
               Item(IDC_PATH, "$install"), Focus(IDC_PATH), Click(IDOK), Launcher(IDCANCEL)},
     .registry = {kPathStored, Version(14)}},
    // The prefix's drives (tools/wine_prefix.sh): B: 20,421 folders, which a search
    // walks first, for some seconds; D: holds the game deep down, E:
    // a directory that contains itself, F: (a CD-ROM) a copy that must not count.
    // When a search stops the keyboard is back in the edit box, and Enter accepts the find.
    {.name = "wrong directory corrected by a search of every fixed drive, enter accepts the find",
     .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(IDS_WRONG_PATH_CAPTION), Item(IDC_STATUS, Text(IDS_READY)), Click(IDC_SEARCH),
               Until(IDC_STATUS, Text(IDS_FOUND)), Focus(IDC_PATH), Item(IDC_PATH, "D:\\Games\\Sub\\Deep\\Drifthaven"),
               Item(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH)), Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_NOT_FOUND)),
               Item(IDC_SEARCH, Text(IDS_START_SEARCH)), Item(IDC_PATH, "D:\\Games\\Sub\\Deep\\Drifthaven"),
               Focus(IDC_PATH), Key(VK_RETURN), Launcher(IDCANCEL)},
     .registry = {{kGameKey, "InstallPath", REG_SZ, "D:\\Games\\Sub\\Deep\\Drifthaven"}}},
    // While a search runs only Cancel is enabled, and it has the keyboard: Escape cancels the search,
    // and clicks on OK and Browse do nothing (a picker opened would disable the window, and the Escape
    // at the end could not reach it); once it has stopped, Escape closes.
    {.name = "escape during a search cancels it, ok and browse during the continued one do nothing, escape closes",
     .arrange = WrongDirectory,
     .steps = {Start(kValkor), Window(IDS_WRONG_PATH_CAPTION), Click(IDC_SEARCH), Focus(IDCANCEL), Key(VK_ESCAPE),
               Until(IDC_STATUS, Text(IDS_SEARCH_CANCELED)), Item(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH)),
               Focus(IDC_PATH), Click(IDC_SEARCH), Click(IDOK), Click(IDC_BROWSE), Until(IDC_STATUS, Text(IDS_FOUND)),
               Focus(IDC_PATH), Key(VK_ESCAPE), Box(IDS_WRONG_INSTALL_PATH)},
     .registry = {{kGameKey, "InstallPath", REG_SZ, "C:\\Elsewhere"}}},
    {.name = "version 13 not corrected, then corrected to the detected build 12",
     .arrange = [](Scene& scene) { SetGameValue("Version", REG_DWORD, Dword(13)), Build12(scene); },
     .steps = {Start(kValkor), Box(IDS_ASK_CORRECT_VERSION, IDNO), Box(IDS_VERSION_REQUIRED), Start(kValkor),
               Box(IDS_ASK_CORRECT_VERSION, IDYES), Box(IDS_VERSION_DETECTED, IDOK, {"12"}),
               Box(IDS_ASK_STORE_VERSION, IDYES, {"12"}), Box(IDS_VERSION_REQUIRED)},
     .registry = {Version(12)}},
    {.name = "unknown build: the game started to read the version, then typed", .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME, IDYES),
               Window(IDS_VERSION_CAPTION), Item(IDC_PROMPT, Text(IDS_PROMPT_AFTER_START)), Item(IDOK, Text(IDS_OK)),
               Item(IDCANCEL, Text(IDS_CANCEL)), Type(IDC_VERSION, "15"), Click(IDOK),
               Box(IDS_ASK_STORE_VERSION, IDYES, {"15"}), Launcher(IDCANCEL)},
     .logged = {"started dir=$install show=2 "}, .registry = {Version(15)}},
    // A sign is no digit: "-3" is no version, as on Windows (Wine's own reading takes signs);
    // the next start finds the version as unreadable as before, and Cancel leaves it so.
    {.name = "unknown build, game not started: a sign typed for the version, then the version window cancelled",
     .arrange = UnknownBuild,
     .steps = {Start(kValkor), Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME, IDNO),
               Window(IDS_VERSION_CAPTION), Type(IDC_VERSION, "-3"), Key(VK_RETURN), Box(IDS_NO_VERSION),
               Start(kValkor), Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME, IDNO),
               Window(IDS_VERSION_CAPTION), Item(IDC_PROMPT, Text(IDS_PROMPT_VERSION)), Click(IDCANCEL),
               Box(IDS_NO_VERSION)},
     .registry = {{kGameKey, "Version", REG_SZ, "14"}}},

    // The window and its buttons, in both programs.
    // Wine told to look for WINMM and COMCTL32 beside the program first, as Windows does.
    {.name = "each taunt sounds whole (valkor's from the system's WINMM, its controls from the system's COMCTL32, not "
             "those planted beside it); escape and the close box close",
     .arrange = PlantDlls,
     .steps = {Start(kValkor, "", "planted"), Launcher(), Played(), Key(VK_ESCAPE), Start(kNovalkor), Launcher(),
               Played(), CloseBox()},
     .heard = "154, (133|138)"},
    // No person can press the hidden button: its command is posted.
    {.name = "the hidden button's taunt cuts the one that sounds",
     .steps = {Start(kValkor), Launcher(), Playing(), Post(IDC_TAUNT), Played(), Click(IDCANCEL)}, .heard = "cut, 154"},
    {.name = "readme and site of both programs",
     .steps = {Start(kValkor), Launcher(IDC_README), Launcher(IDC_VISIT_SITE), Launcher(IDCANCEL), Start(kNovalkor),
               Launcher(IDC_README), Launcher(IDC_VISIT_SITE), Launcher(IDCANCEL)},
     .logged = {"full=$install\\readme_valkor.html exists=1", "http://www.mirefall.example/valkor/",
                "full=$install\\readme_english.html exists=1", "http://www.corvane.example/"}},

    // Play patches flux.ini, hides the window and starts the game.
    // Cancel and Play each stop the taunt that sounds.
    {.name = "valkor cancelled at once, then played: each stops its taunt",
     .steps = {Start(kValkor), Launcher(), Playing(), Click(IDCANCEL), Start(kValkor), Launcher(), Playing(),
               Click(IDOK)},
     .logged = {kPlayed}, .flux = "flux_enabled.ini", .heard = "cut, cut"},
    {.name = "novalkor play with enter", .arrange = FluxEnabled,
     .steps = {Start(kNovalkor), Launcher(), Key(VK_RETURN)}, .logged = {kPlayed}, .flux = "flux_disabled.ini"},
    // Others may read it, but not write it or hold it alone (the row's message shows it held).
    {.name = "flux held open by another program",
     .arrange = [](Scene& scene) { scene.held = CreateFileA((scene.install + "\\flux.ini").c_str(), GENERIC_READ,
                                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr); },
     .steps = PlayRefused(IDS_ERROR_OPENING_FILE)},
    {.name = "defaults missing",
     .arrange = [](Scene& scene) { FluxEnabled(scene), DeleteFileA((scene.install + "\\defaults.ini").c_str()); },
     .steps = PlayRefused(IDS_ERROR_OPENING_FILE, "defaults.ini", kNovalkor), .flux = "flux_enabled.ini"},

    // The faults of a player's machine: a message, the file as it was, a normal end.
    // flux.ini damaged into 700 MB: the settings, then zeros (sparse on the host).
    {.name = "flux of 700 MB", .arrange = [](Scene& scene) { MakeFile(scene.install + "\\flux.ini", 700 << 20); },
     .steps = PlayRefused(IDS_ERROR_LOADING_FILE)},
    {.name = "full disk (needs the small disk that run.sh mounts)", .arrange = OnAFullDisk,
     .steps = PlayRefused(IDS_ERROR_SAVING_FILE)},
    {.name = "flux a folder", .arrange = FluxAFolder, .steps = PlayRefused(IDS_ERROR_OPENING_FILE)},

    // The command line: -u anywhere in the tail, and only there; the longest tail Windows
    // takes (32,000 characters with the program's quoted path, "C:\launchers\valkor.exe" and a space).
    {.name = "silent novalkor", .arrange = FluxEnabled, .steps = {Start(kNovalkor, "-u")}, .flux = "flux_disabled.ini",
     .heard = ""},
    // NUL bytes in flux.ini: kept where the patch does not write.
    {.name = "silent valkor: capital U inside a word amid the tail, then -u at the end of 32,000 characters, NULs kept",
     .arrange = FluxWithNuls,
     .steps = {Start(kValkor, "one x-Undo two"), Start(kValkor, std::string(31971, 'x') + " -u")},
     .flux = "$root\\expected.ini"},
    {.name = "u, slash u and slash U are not silent, nor -u in the program's own path",
     .steps = {Start(kNovalkor, "u /u /U"), Launcher(IDCANCEL), Start(kValkor, "", "not-undone"), Launcher(IDCANCEL)}},
    // Tab walks the buttons in the template's order past the hidden one; Space presses the one it is on.
    {.name = "tab walks the launcher's buttons",
     .steps = {Start(kNovalkor), Launcher(), Focus(IDOK), Key(VK_TAB), Focus(IDC_README), Key(VK_TAB),
               Focus(IDC_VISIT_SITE), Key(VK_TAB), Focus(IDCANCEL), Key(VK_TAB), Focus(IDOK), Key(VK_TAB, VK_SHIFT),
               Focus(IDCANCEL), Key(VK_SPACE)}},
};

class Scenarios : public ::testing::TestWithParam<Scenario> {};

TEST_P(Scenarios, Run) { RunScenario(GetParam()); }

// The row's name with only its letters and digits; also its folder's (scenario.cpp).
std::string Name(const ::testing::TestParamInfo<Scenario>& info) {
    return std::regex_replace(info.param.name, std::regex("[^A-Za-z0-9]"), "");
}

INSTANTIATE_TEST_SUITE_P(E2E, Scenarios, ::testing::ValuesIn(kScenarios), Name);

// In a prefix as Wine makes it for a player (tests/e2e/run.sh): drive C: fixed,
// with its links into the home folder that holds the prefix, and a fixed drive B:
// woven with links back to its own directories, the game deeper down.
// The status reads "Found" before and after the second find, so the path's change is waited for.
const Scenario kLinks{
    .name = "search past webs of links",
    .arrange = [](Scene& scene) { DeleteFileA((scene.install + "\\Drifthvn.exe").c_str()); },
    .steps = {Start(kValkor), Window(IDS_WRONG_PATH_CAPTION), Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_FOUND)),
              Item(IDC_PATH, "B:\\Deep\\Er\\Game"), Click(IDC_SEARCH), Until(IDC_PATH, "C:\\tools"),
              Item(IDC_STATUS, Text(IDS_FOUND)), Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_NOT_FOUND)),
              Click(IDCANCEL), Box(IDS_WRONG_INSTALL_PATH)}};

INSTANTIATE_TEST_SUITE_P(Links, Scenarios, ::testing::Values(kLinks), Name);

// A Japanese player's Windows (tests/e2e/run.sh: the host's locale ja_JP.UTF-8,
// so code page 932 for the programs and this runner, and a fixed drive J: of its
// own). The installation is moved to J:\ゲーム\機能, written in code page 932; the
// second byte of 能 is 0x5C, a backslash's.
void InAJapaneseFolder(Scene& scene) {
    ASSERT_EQ(GetACP(), 932u) << "not a Japanese locale";
    MoveInstall(scene, "J:\\\x83\x51\x81\x5B\x83\x80", "\x8B\x40\x94\x5C");  // J:\ゲーム\機能
    WrongDirectory(scene);
}
const Scenario kJapanese{
    .name = "a japanese folder found by a search and ok", .arrange = InAJapaneseFolder,
    .steps = {Start(kValkor), Window(IDS_WRONG_PATH_CAPTION), Click(IDC_SEARCH), Until(IDC_STATUS, Text(IDS_FOUND)),
              Item(IDC_PATH, "$install"), Click(IDOK), Launcher(IDCANCEL)},
    .registry = {kPathStored}};

INSTANTIATE_TEST_SUITE_P(Japanese, Scenarios, ::testing::Values(kJapanese), Name);

// At the display scale of the prefix (tests/e2e/run.sh runs this in one of 96, 144
// and 192 DPI each): the notice, the find-game window, the version window and both
// launchers, each as it is shown (display_scale.cpp). On the way, the keys everyone
// uses: Enter accepts the notice (and the other program starts without it) and a
// version typed.
const Scenario kScaled{
    .name = "every window at the display scale",
    .arrange = [](Scene& scene) { NoNotice(scene), UnknownBuild(scene), WrongDirectory(scene); },
    .steps = {Start(kValkor), Window(IDS_NOTICE_CAPTION), Scaled(), Focus(IDOK), Key(VK_RETURN),
              Window(IDS_WRONG_PATH_CAPTION), Scaled(), Type(IDC_PATH, "$install"), Click(IDOK),
              Box(IDS_ERROR_READING_VERSION), Box(IDS_ASK_START_GAME, IDNO), Window(IDS_VERSION_CAPTION), Scaled(),
              Focus(IDC_VERSION), Type(IDC_VERSION, "15"), Key(VK_RETURN), Box(IDS_ASK_STORE_VERSION, IDYES, {"15"}),
              Launcher(), Scaled(), Click(IDCANCEL), Start(kNovalkor), Launcher(), Scaled(), Key(VK_ESCAPE)},
    .registry = {kPathStored, Version(15), kModValues[0], kModValues[1], kModValues[2]}};

INSTANTIATE_TEST_SUITE_P(Scale, Scenarios, ::testing::Values(kScaled), Name);

}  // namespace
