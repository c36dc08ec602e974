// The real programs under Wine, driven as a player would: each row starts from
// the sample installation registered as the game's (notice accepted), changes
// what it needs, acts, and says what must be seen and left behind.
#include "scenario.h"

namespace {

const char kFlux38[] = "Error opening the file flux.ini.";
const char kLoading34[] = "Error loading standard options";
const char k33[] = "Drifthaven version 14 or higher is required.";
const char k53[] = "Error reading version.  Hit OK to start detection of Drifthaven version.";
const char k120[] =
    "Drifthaven version 14 or higher is required.  If this is a dual OS system you may have installed a patch on the "
    "other OS and the version in the registry may be incorrect.  Would you like to correct your Drifthaven version?";
const char kNotice[] = "NO WARRANTY\r\n\r\nThe Valkor mod is given to you \"as is\"...";
// The stand-in game's record of a start by Play: minimised in the install path,
// flux.ini free to open, the launcher already hidden.
const char kPlayed[] = "started dir=$install show=2 flux=0 launcher_visible=0 ";
const std::string kDword14("\16\0\0\0", 4);

void NoNotice(const Scene&) { DeleteKey("Software\\Vortigen\\Drifthaven\\Mods"); }
void FluxEnabled(const Scene& scene) {
    WriteWholeFile(scene.install + "\\flux.ini", ReadWholeFile("C:\\expected\\flux_enabled.ini"));
}

const RegValue kNoModKey{kModKey, nullptr, 0, "<no key>"};
const std::vector<RegValue> kModValues = {
    {kModKey, "Agreed", REG_DWORD, std::string("\1\0\0\0", 4)},
    {kModKey, "Version", REG_SZ, std::string("0.4Alpha\0", 9)},
    {kModKey, "Unload", REG_SZ, std::string("novalkor.exe -u\0", 16)},
};

std::vector<Step> OpenAndCancel(const ProgramCase& program, const char* tail = "") {
    return {Start(program, tail), Launcher(program), Click(IDCANCEL), End()};
}

const Scenario kScenarios[] = {
    // The notice, until it is accepted once.
    {"notice cancelled", NoNotice,
     {Start(kValkor), Window("No Warranty"), Item(1002, kNotice), Item(IDOK, "OK"), Item(IDCANCEL, "Cancel"),
      Click(IDCANCEL), End()},
     {}, nullptr, nullptr, {kNoModKey}},
    {"notice cancelled in silent mode", NoNotice, {Start(kValkor, "-u"), Window("No Warranty"), Click(IDCANCEL), End()},
     {}, nullptr, nullptr, {kNoModKey}},
    {"notice accepted, then the other program starts without it", NoNotice,
     {Start(kValkor), Window("No Warranty"), Click(IDOK), Launcher(kValkor), Click(IDCANCEL), End(),
      Start(kNovalkor), Launcher(kNovalkor), Click(IDCANCEL), End()},
     {}, nullptr, nullptr, kModValues},

    // Each failed check: its message, then the launcher closes.
    {"install path of another type",
     [](const Scene& scene) { SetGameValue("InstallPath", REG_EXPAND_SZ, scene.install + '\0'); },
     {Start(kValkor), Box("Error reading Drifthaven installation path."), End()}},
    {"no executable in the install path",
     [](const Scene& scene) { DeleteFileA((scene.install + "\\Drifthvn.exe").c_str()); },
     {Start(kValkor), Window("Incorrect Install Path"), Click(IDCANCEL),
      Box("Cannot continue due to incorrect Drifthaven install path."), End()}},
    {"version stored as text", [](const Scene&) { SetGameValue("Version", REG_SZ, std::string("14\0", 3)); },
     {Start(kValkor), Box(k53), Box("Critical file not found checking for version"),
      Box("Cannot continue without correct version information."), End()}},
    {"version 13", [](const Scene&) { SetGameValue("Version", REG_DWORD, std::string("\15\0\0\0", 4)); },
     {Start(kValkor), Box(k120, IDNO), Box(k33), End()}},
    {"mod files missing", [](const Scene& scene) { RemoveTree(scene.install + "\\mods"); },
     {Start(kValkor), Box("Could not find Valkor mod."), End()}},

    // The window and its buttons, in both programs.
    {"valkor opens and cancel closes", nullptr, OpenAndCancel(kValkor)},
    {"novalkor opens and cancel closes", nullptr, OpenAndCancel(kNovalkor)},
    {"escape closes", nullptr, {Start(kNovalkor), Launcher(kNovalkor), Escape(), End()}},
    {"the close box closes", nullptr, {Start(kValkor), Launcher(kValkor), CloseBox(), End()}},
    {"valkor readme", nullptr, {Start(kValkor), Launcher(kValkor), Click(1000), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, "full=$install\\readme_valkor.html exists=1"},
    {"novalkor readme", nullptr,
     {Start(kNovalkor), Launcher(kNovalkor), Click(1000), Launcher(kNovalkor), Click(IDCANCEL), End()},
     {}, nullptr, "full=$install\\readme_english.html exists=1"},
    {"valkor site", nullptr, {Start(kValkor), Launcher(kValkor), Click(1006), Launcher(kValkor), Click(IDCANCEL), End()},
     {}, nullptr, "http://www.mirefall.example/valkor/"},
    {"novalkor site", nullptr,
     {Start(kNovalkor), Launcher(kNovalkor), Click(1006), Launcher(kNovalkor), Click(IDCANCEL), End()},
     {}, nullptr, "http://www.corvane.example/"},

    // Play patches flux.ini, hides the window and starts the game.
    {"valkor play", nullptr, {Start(kValkor), Launcher(kValkor), Click(IDOK), End()}, {kPlayed}, "flux_enabled.ini"},
    {"novalkor play", FluxEnabled, {Start(kNovalkor), Launcher(kNovalkor), Click(IDOK), End()}, {kPlayed},
     "flux_disabled.ini"},
    {"flux held open by another program",
     [](const Scene& scene) { HoldOpen(scene.install + "\\flux.ini"); },
     {Start(kValkor), Launcher(kValkor), Click(IDOK), Box(kFlux38), Box(kLoading34), End()}},
    {"defaults missing",
     [](const Scene& scene) {
         FluxEnabled(scene);
         DeleteFileA((scene.install + "\\defaults.ini").c_str());
     },
     {Start(kNovalkor), Launcher(kNovalkor), Click(IDOK), Box("Error opening the file defaults.ini."), Box(kLoading34),
      End()},
     {}, "flux_enabled.ini"},

    // The command line: -u anywhere in the tail, and only there.
    {"silent novalkor", FluxEnabled, {Start(kNovalkor, "-u"), End()}, {}, "flux_disabled.ini"},
    {"silent valkor, capital U", nullptr, {Start(kValkor, "-U"), End()}, {}, "flux_enabled.ini"},
    {"silent valkor, -u amid the tail", nullptr, {Start(kValkor, "one -u two"), End()}, {}, "flux_enabled.ini"},
    {"silent valkor, -u inside a word", nullptr, {Start(kValkor, "x-undo"), End()}, {}, "flux_enabled.ini"},
    {"slash u is not silent", nullptr, OpenAndCancel(kValkor, "/u")},
    {"u and slash U are not silent", nullptr, OpenAndCancel(kNovalkor, "u /U")},
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

}  // namespace
