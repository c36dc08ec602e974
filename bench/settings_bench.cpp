// Benchmark of the two patches on real files (run under Wine by
// bench/settings_bench.sh). Prints, for each patch:
//  - on a realistic flux.ini of tens of KiB, the patch's time beside one plain
//    read and write of the same file, and beside its floor: that read and write
//    and each load the patch makes in 256-byte blocks;
//  - on a 1 MiB flux.ini with a 1,000-entry movie list, the time per edit beside
//    one memmove of the file;
//  - on a 35 MiB flux.ini, the same as on the realistic one: a large file costs
//    what reading and moving its text a few times costs, no more.
// It prints figures and ratios; it never fails because a machine is slow.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "launcher/launcher_app.h"
#include "launcher/launcher_dialog.h"
#include "novalkor/disable_recipe.h"
#include "platform/win32/win32_platform.h"
#include "valkor/enable_recipe.h"

namespace {

const char kDirectory[] = "C:\\bench";
// A check run: each measure once, on small files, whose figures mean little.
bool g_check = false;
const char* Goal(const char* goal) { return g_check ? "no goal in a check run" : goal; }

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Write(const std::string& name, const std::string& content) {
    HANDLE file = CreateFileA((std::string(kDirectory) + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

// A settings file: filler sections of the given total size around the game's
// own sections, with a movie list of the given length in the middle.
std::string MakeSettings(size_t fillerBytes, int movies, bool defaults) {
    std::string half;
    for (int section = 0; half.size() < fillerBytes / 2; ++section) {
        half += "\r\n[icFiller" + std::to_string(section) + "]\r\n";
        for (int key = 0; key < 20; ++key)
            half += "option_" + std::to_string(key) + " = " + std::to_string(section * 31 + key) + "\r\n";
    }
    std::string text = "; Corvane 2: Drifthaven options" + half;
    text += "\r\n[icGame]\r\ndifficulty = 2\r\n";
    for (int movie = 0; movie < movies; ++movie)
        text += "movies[" + std::to_string(movie) + "] = " +
                (defaults && movie % 7 == 3 ? std::string("/movies/maravel") : "/movies/m" + std::to_string(movie)) +
                "\r\n";
    text += "\r\n[icPlayerPilot]\r\nmax_rem_range = 25000\r\n\r\n[icShip]\r\ncritical_damage_scale = 1.0\r\n"
            "criticals_per_impact = 1\r\n\r\n[icTacticalCamera]\r\nfield_of_view = 1.2\r\n\r\n[iiSim]\r\n"
            "collision_damage_factor = 1\r\n\r\n[Mods]\r\nvalkormod = 0\r\n";
    return text + half;
}

// The median of the runs, in seconds.
template <typename Run>
double Median(int runs, Run run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double PlainReadAndWrite() {
    const double start = Now();
    HANDLE file = CreateFileA("C:\\bench\\flux.ini", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    std::string content(size, '\0');
    DWORD count = 0;
    ReadFile(file, &content[0], size, &count, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    WriteFile(file, content.data(), size, &count, nullptr);
    SetEndOfFile(file);
    CloseHandle(file);
    return Now() - start;
}

double MemmoveOnce(size_t size) {
    std::vector<char> buffer(size + 64, 'x');
    const double start = Now();
    for (int i = 0; i < 100; ++i) std::memmove(buffer.data() + (i % 2), buffer.data() + 1 - (i % 2), size);
    return (Now() - start) / 100;
}

struct Recipe {
    const char* name;
    BOOL (*patch)(LauncherDialog&);
    int (*edits)(int movies);  // SetSettingValue calls the patch makes
    int files;                 // settings files it loads: flux.ini, and defaults.ini to disable
};

void Measure(LauncherDialog& launcher, const Recipe& recipe, size_t filler, int movies, bool perEdit, int runs) {
    const std::string flux = MakeSettings(filler, movies, false);
    Write("defaults.ini", MakeSettings(filler, movies, true));
    const double patch = Median(runs, [&] {
        Write("flux.ini", flux);
        const double start = Now();
        if (!recipe.patch(launcher)) {
            std::fprintf(stderr, "the %s patch failed: nothing to measure\n", recipe.name);
            std::exit(1);
        }
        return Now() - start;
    });
    Write("flux.ini", flux);
    const double plain = Median(runs, PlainReadAndWrite);
    // The plain read and write is shown beside the patch with no goal: a settings
    // file is read in 256-byte blocks, as the game's files are, which costs more.
    // The goal is set against the patch's floor, its loads so made and one plain
    // read and write; with the movie list, against the cost of an edit.
    std::printf("%-8s %8.1f KiB  patch %9.3f ms  plain read and write %7.3f ms  ratio %6.2f\n", recipe.name,
                flux.size() / 1024.0, patch * 1e3, plain * 1e3, patch / plain);
    if (!perEdit) {
        // Loading alone: the file read in 256-byte blocks, as the game's files are.
        const double load = Median(runs, [&] {
            SettingsFile text;
            const double start = Now();
            launcher.LoadSettingsFile(text);
            launcher.CloseSettingsFile();
            return Now() - start;
        });
        std::printf("%-8s each load of the file alone, in 256-byte blocks: %7.3f ms\n", recipe.name, load * 1e3);
        const double floor = recipe.files * load + plain;
        std::printf("%-8s against its floor, %d such load(s) and the plain read and write, %7.3f ms: ratio %6.2f (%s)\n",
                    recipe.name, recipe.files, floor * 1e3, patch / floor, Goal("goal <= 2"));
        return;
    }
    const int edits = recipe.edits(movies);
    const double memmove = MemmoveOnce(flux.size());
    const double perEditTime = (patch - plain) / edits;
    // On a small file in one run the patch may take less than the plain read and
    // write it is set against: the edits then cost too little to be told apart.
    if (perEditTime <= 0)
        std::printf("%-8s %8d edits  too quick to tell apart from the file's read and write in one run\n",
                    recipe.name, edits);
    else
        std::printf("%-8s %8d edits  per edit %9.3f us  one memmove of the file %7.3f us  ratio %6.2f (%s)\n",
                    recipe.name, edits, perEditTime * 1e6, memmove * 1e6, perEditTime / memmove, Goal("goal <= 3"));
}

int EnableEdits(int movies) { return 7 + movies - 1; }
int DisableEdits(int movies) { return 7 + movies - movies / 7; }

}  // namespace

// With "quick": each measure once, on small files, as a check that the
// benchmark runs; its figures then mean little.
int main(int argc, char** argv) {
    const bool quick = g_check = argc > 1 && std::strcmp(argv[1], "quick") == 0;
    if (quick) std::printf("A check run, each measure once on small files: its figures mean little, and no goal is set.\n");
    CreateDirectoryA(kDirectory, nullptr);
    Win32Platform platform(GetModuleHandleA(nullptr));
    LauncherApp app(platform.Get(), ValkorProfile());
    LauncherDialog launcher(platform.Get(), ValkorProfile(), app, nullptr);
    launcher.m_strInstallPath = kDirectory;
    const Recipe recipes[] = {{"enable", EnableRecipe, EnableEdits, 1}, {"disable", DisableRecipe, DisableEdits, 2}};
    std::printf("A realistic flux.ini:\n");
    for (const Recipe& recipe : recipes) Measure(launcher, recipe, 40 * 1024, 4, false, quick ? 1 : 21);
    if (quick) {
        std::printf("A 64 KiB flux.ini with a 100-entry movie list:\n");
        for (const Recipe& recipe : recipes) Measure(launcher, recipe, 64 * 1024, 100, true, 1);
        return 0;
    }
    std::printf("A 1 MiB flux.ini with a 1,000-entry movie list:\n");
    for (const Recipe& recipe : recipes) Measure(launcher, recipe, 1024 * 1024, 1000, true, 5);
    std::printf("A 35 MiB flux.ini:\n");
    for (const Recipe& recipe : recipes) Measure(launcher, recipe, 35 * 1024 * 1024, 4, false, 3);
    return 0;
}
