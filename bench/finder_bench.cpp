// Benchmark of the game finder under Wine (run by bench/finder_bench.sh, once for
// each tree it makes) over a real tree on drive D: with the game alone on drive
// E:, the end of the walk. Prints the rate of DiskSearch stepped in a tight loop
// beside that of a plain recursive FindFirstFileA/FindNextFileA walk of the same
// tree, and the find-game window's time to find the game beside the tight loop's,
// with its longest tick; with "web", then the walk of drive B:, woven with links
// back to its own directories, with the game deeper down. With "check", a run on
// trees too small to measure against the goals (a tick of the timer alone is 10
// to 16 ms), the goals are left out.
// It prints figures and ratios; it never fails because a machine is slow.
//   finder_bench.exe <name of the tree> [web] [check]
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "finder/disk_search.h"
#include "finder/find_game_dialog.h"
#include "platform/win32/win32_platform.h"
#include "resources/resource_ids.h"

namespace {

double Now() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Entries below the directory, "." and ".." not counted.
long PlainWalk(const std::string& directory) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    long entries = 0;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        ++entries;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) entries += PlainWalk(directory + "\\" + name);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return entries;
}

void Directories(const std::string& directory, std::vector<std::string>& found) {
    found.push_back(directory);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != ".." && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            Directories(directory + "\\" + name, found);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

// The window as a person uses it: Search at once; it ends when the game is found.
class TimedFindGame : public FindGameDialog {
public:
    using FindGameDialog::FindGameDialog;
    BOOL OnInitDialog() override {
        FindGameDialog::OnInitDialog();
        m_start = Now();
        OnSearch();
        return FALSE;
    }
    void OnTimer(UINT_PTR id) override {
        const double start = Now();
        FindGameDialog::OnTimer(id);
        const double tick = Now() - start;
        m_longestTick = std::max(m_longestTick, tick);
        m_longTicks += tick > 0.030;
        ++m_ticks;
        const std::string status = GetItemText(IDC_STATUS);
        if (status == "Found" || status == "Not found") {
            m_found = Now() - m_start;
            m_where = GetItemText(IDC_PATH);
            EndModal(IDOK);
        }
    }
    double m_start = 0, m_found = 0, m_longestTick = 0;
    long m_ticks = 0, m_longTicks = 0;  // ticks, and those over 30 ms
    std::string m_where;
};

// Figures of a walk that found nothing measure nothing.
int NothingMeasured() {
    std::fprintf(stderr, "finder_bench: a tree, the game or the web of links was missing: nothing measured\n");
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string tree = argc > 1 ? argv[1] : "D:";
    const std::vector<std::string> options(argv + std::min(argc, 2), argv + argc);
    const bool withWeb = std::count(options.begin(), options.end(), "web") > 0;
    const bool check = std::count(options.begin(), options.end(), "check") > 0;
    const auto goal = [check](const char* text) { return check ? "no goal in a check run" : text; };
    Win32Platform platform(GetModuleHandleA(nullptr));
    PlainWalk("D:");  // the first walk warms the file system's caches for both

    double start = Now();
    const long entries = PlainWalk("D:");
    const double plain = Now() - start;

    DiskSearch search(platform.Get().files, "Drifthvn.exe");
    std::string status;
    long steps = 0;
    int result = SEARCH_CONTINUE;
    start = Now();
    while (result != SEARCH_FOUND && result != SEARCH_EXHAUSTED) {
        result = search.Step(status);
        ++steps;
    }
    const double stepped = Now() - start;

    // What the search must do beyond the plain walk: one lookup of the game's name
    // in every directory before its entries are taken. The walk and the lookups
    // together are the floor of the search.
    std::vector<std::string> directories;
    Directories("D:", directories);
    start = Now();
    for (const std::string& directory : directories) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((directory + "\\Drifthvn.exe").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
    }
    const double lookups = Now() - start;

    std::printf("== tree %s on D:: %ld entries\n", tree.c_str(), entries);
    std::printf("plain recursive walk:    %8.3f s  %10.0f entries/s\n", plain, entries / plain);
    std::printf("lookups of the game's name in the %zu directories: %.3f s\n", directories.size(), lookups);
    std::printf("DiskSearch, tight loop:  %8.3f s  %10.0f entries/s  (%ld steps, %s at %s)\n", stepped,
                entries / stepped, steps, result == SEARCH_FOUND ? "found" : "not found", status.c_str());
    std::printf("rate against the plain walk alone, which looks up nothing: %.2f\n", plain / stepped);
    std::printf("rate against the walk and the lookups, the search's floor (%s): %.2f\n", goal("goal >= 0.8"),
                (plain + lookups) / stepped);

    TimedFindGame window(platform.Get(), nullptr);
    window.DoModal();
    std::printf("find-game window: found %s after %.3f s in %ld ticks; longest tick %.2f ms (%s; %ld over 30)\n",
                window.m_where.c_str(), window.m_found, window.m_ticks, window.m_longestTick * 1e3,
                goal("goal <= 30"), window.m_longTicks);
    std::printf("window against the tight loop (%s): %.2f\n", goal("goal <= 1.5"), window.m_found / stepped);
    if (!withWeb) return entries == 0 || window.m_where.empty() ? NothingMeasured() : 0;

    // Links are passed over, so a web of them costs a step each; the walk is
    // stopped after a minute all the same, should it ever go round them.
    DirectorySearch web(platform.Get().files, "B:", "Drifthvn.exe");
    std::string found = "nothing";
    steps = 0;
    start = Now();
    for (result = SEARCH_CONTINUE; result != SEARCH_EXHAUSTED && Now() - start < 60; ++steps) {
        result = web.Step(status);
        if (result == SEARCH_FOUND) found = status;
    }
    std::printf("drive B: woven with links: %s after %.3f s and %ld steps; found %s\n",
                result == SEARCH_EXHAUSTED ? "walked" : "stopped unfinished", Now() - start, steps, found.c_str());
    if (entries == 0 || window.m_where.empty() || result != SEARCH_EXHAUSTED || found == "nothing")
        return NothingMeasured();
    return 0;
}
