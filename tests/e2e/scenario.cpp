#include "scenario.h"
#include "launcher/format_message.h"
#include "resources/string_table.h"
#include <algorithm>
#include <cstring>
#include <iostream>
#include <regex>

const char kLaunchers[] = "C:\\launchers";
const char kTools[] = "C:\\tools";
const char kSample[] = "C:\\sample";
const char kSmallDisk[] = "C:\\small_disk";
const char kSmallDiskMounted[] = "C:\\small_disk\\mounted";
const char kGameKey[] = "Software\\Vortigen\\Drifthaven\\Settings";
const char kModKey[] = "Software\\Vortigen\\Drifthaven\\Mods\\Valkormod";
// Where tests/e2e/run.sh has every clip the programs play recorded, one file a clip.
const char kSounds[] = "C:\\sounds";
static HANDLE g_held = INVALID_HANDLE_VALUE;

const ProgramCase kValkor = {"valkor.exe", "Corvane 2: Drifthaven: Valkor", "Play|Readme|Visit Mirefall|Cancel|"};
const ProgramCase kNovalkor = {"novalkor.exe", "Corvane 2: Drifthaven", "Play|Readme|Visit Corvane Site|Cancel|"};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

std::string Text(UINT id, std::vector<std::string> arguments) {
    const char* text = FindStringText(id);
    EXPECT_NE(text, nullptr) << "no string " << id;
    return text != nullptr ? FormatMessageText(text, arguments) : std::string();
}

std::string Expand(const std::string& text, const Scene& scene) {
    std::string out = text;
    for (const auto& marker : {std::make_pair(std::string("$install"), scene.install),
                               std::make_pair(std::string("$root"), scene.root)})
        for (size_t at = out.find(marker.first); at != std::string::npos;
             at = out.find(marker.first, at + marker.second.size()))
            out.replace(at, marker.first.size(), marker.second);
    return out;
}

namespace {

void SetValue(const char* keyPath, const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), 0);
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

}  // namespace

void SetGameValue(const char* name, DWORD type, const std::string& data) { SetValue(kGameKey, name, type, data); }

void DeleteKey(const char* key) { RegDeleteTreeA(HKEY_LOCAL_MACHINE, key); }

void MakeFile(const std::string& path, DWORD size, DWORD timeHigh, DWORD timeLow) {
    for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    SetFilePointer(file, LONG(size), nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    const FILETIME time = {timeLow, timeHigh};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

void HoldOpen(const std::string& path) {
    g_held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(g_held, INVALID_HANDLE_VALUE) << path;
}

namespace {

// The recordings so far, in order, with those still being made ("NNN.part").
std::vector<std::string> Recordings() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((std::string(kSounds) + "\\0*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (FindNextFileA(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Show(DWORD type, const std::string& data) {
    std::string text = std::to_string(type) + ":";
    for (unsigned char c : data) {
        if (c >= 32 && c < 127) {
            text += char(c);
        } else {
            text += '\\';
            text += std::to_string(c);
        }
    }
    return text;
}

// What the registry holds: type 0 and no data for a missing value, "<no key>" for a missing key.
std::string Stored(const RegValue& want) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, want.key, 0, KEY_READ, &key) != 0) return Show(0, "<no key>");
    DWORD type = 0, size = 0;
    std::string data;
    if (want.name != nullptr && RegQueryValueExA(key, want.name, nullptr, &type, nullptr, &size) == 0) {
        data.resize(size + 1);
        RegQueryValueExA(key, want.name, nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return Show(type, data);
}

Scene Prepare(const char* name) {
    Scene scene;
    CreateDirectoryA("C:\\e2e", nullptr);
    std::string folder = name;
    for (char& c : folder)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
    scene.root = "C:\\e2e\\" + folder;
    RemoveTree(scene.root);
    for (const std::string& clip : Recordings()) DeleteFileA((std::string(kSounds) + "\\" + clip).c_str());
    EXPECT_TRUE(CreateDirectoryA(scene.root.c_str(), nullptr)) << scene.root;
    scene.install = scene.root + "\\Drifthaven";
    scene.logs = scene.root + "\\logs";
    EXPECT_TRUE(CopyTree(kSample, scene.install));
    EXPECT_TRUE(CopyFileA((std::string(kTools) + "\\Drifthvn.exe").c_str(), (scene.install + "\\Drifthvn.exe").c_str(),
                          FALSE));
    CreateDirectoryA(scene.logs.c_str(), nullptr);
    SetEnvironmentVariableA("STANDIN_LOG", (scene.logs + "\\standin.log").c_str());
    SetEnvironmentVariableA("RECORDER_LOG", (scene.logs + "\\recorder.log").c_str());
    DeleteKey("Software\\Vortigen");
    SetGameValue("InstallPath", REG_SZ, scene.install + '\0');
    SetGameValue("Version", REG_DWORD, std::string("\16\0\0\0", 4));
    SetValue(kModKey, "Agreed", REG_DWORD, std::string("\1\0\0\0", 4));
    return scene;
}

void CheckLauncher(HWND window, const ProgramCase& program) {
    std::string captions;
    for (int button : {IDOK, IDC_README, IDC_VISIT_SITE, IDCANCEL})
        captions += ItemText(window, button) + (ItemVisible(window, button) ? "|" : " (hidden)|");
    EXPECT_EQ(captions, program.captions);
    EXPECT_EQ(ItemText(window, IDC_TAUNT), "Taunt-Be-Good");
    EXPECT_FALSE(ItemVisible(window, IDC_TAUNT));
    HWND picture = GetDlgItem(window, IDC_PICTURE);
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(ItemVisible(window, IDC_PICTURE));
    EXPECT_NE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "no picture loaded";
    EXPECT_EQ(GetWindowLongA(picture, GWL_STYLE) & SS_TYPEMASK, SS_BITMAP);
    // The window's icons cannot be read from another process under Wine; the unit tests check them.
}

// The taunts as their WAVE headers give them (resources/*/taunt*.wav): length and channels.
const struct {
    const char* id;
    double seconds;
    int channels;
} kClips[] = {{"154", 3.05, 1}, {"133", 9.05, 2}, {"138", 4.0, 1}};

// What one recording holds: the clip it is whole and not silent, "cut" when
// shorter than every clip of its channels; else its figures.
std::string Describe(const std::string& recording) {
    const std::string data = ReadWholeFile(std::string(kSounds) + "\\" + recording);
    if (data.size() < 44 || data.compare(0, 4, "RIFF") != 0) return "<not a recording: " + recording + ">";
    const int channels = BYTE(data[22]);
    DWORD rate = 0;
    memcpy(&rate, &data[24], 4);
    const double seconds = double(data.size() - 44) / (rate * channels * 2);
    int loudest = 0;
    for (size_t at = 44; at + 1 < data.size(); at += 2) {
        short sample = 0;
        memcpy(&sample, &data[at], 2);
        loudest = std::max(loudest, std::abs(int(sample)));
    }
    std::cout << "[ MEASURED ] recording of " << seconds << " s, " << channels << " channels\n";
    bool cut = true;
    for (const auto& clip : kClips) {
        if (clip.channels != channels) continue;
        if (seconds > clip.seconds - 0.05 && seconds < clip.seconds + 0.2 && loudest > 1000) return clip.id;
        cut = cut && seconds < clip.seconds - 0.2;
    }
    return cut ? "cut" : recording + ": " + std::to_string(seconds) + " s, " + std::to_string(channels) +
                             " channels, loudest " + std::to_string(loudest);
}

// Asks every few milliseconds until done answers true or the wait is over; done's last answer.
template <class Done> bool WaitFor(Done done, DWORD every, DWORD wait = kWait) {
    for (DWORD waited = 0; !done(); waited += every) {
        if (waited >= wait) return false;
        Sleep(every);
    }
    return true;
}

// A log of the stand-ins, once it has as many lines as expected or after the
// wait: a line each, holding what is expected of it. Stand-ins started one
// after another may write in either order, so each expected text claims the
// first line not yet claimed that holds it.
void ExpectLines(const std::string& path, const std::vector<const char*>& expected, const Scene& scene) {
    std::string log;
    const auto lines = [&] { return size_t(std::count(log.begin(), log.end(), '\n')); };
    WaitFor([&] { return log = ReadWholeFile(path), lines() >= expected.size(); }, 100);
    EXPECT_EQ(lines(), expected.size()) << path << ":\n" << log;
    std::vector<std::string> unclaimed;
    for (size_t from = 0; from < log.size(); from = log.find('\n', from) + 1)
        unclaimed.push_back(log.substr(from, log.find('\n', from) - from));
    for (const char* want : expected) {
        const std::string text = Expand(want, scene);
        const auto line = std::find_if(unclaimed.begin(), unclaimed.end(),
                                       [&](const std::string& l) { return l.find(text) != std::string::npos; });
        EXPECT_NE(line, unclaimed.end()) << "no line holds " << text << " in " << path << ":\n" << log;
        if (line != unclaimed.end()) unclaimed.erase(line);
    }
}

// A file's size and a hash of its bytes (FNV-1a), read in blocks: a damaged
// flux.ini can be larger than the test's own memory.
struct Digest {
    unsigned long long size = 0;
    unsigned long long hash = 14695981039346656037ull;
};
Digest DigestOf(const std::string& path) {
    Digest digest;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return digest;
    static char block[1 << 16];
    for (size_t count; (count = fread(block, 1, sizeof(block), file)) > 0;) {
        digest.size += count;
        for (size_t i = 0; i < count; ++i) digest.hash = (digest.hash ^ BYTE(block[i])) * 1099511628211ull;
    }
    fclose(file);
    return digest;
}

void Play(const Scenario& s, const Scene& scene, Program& program, const ProgramCase*& current) {
    HWND window = nullptr;
    int index = 0;
    for (const Step& step : s.steps) {
        SCOPED_TRACE("step " + std::to_string(++index));
        const std::string text = Expand(step.text, scene);
        switch (step.act) {
        case Act::Start: {
            current = step.program;
            window = nullptr;
            std::string exe = std::string(kLaunchers) + "\\" + current->exe;
            if (step.folder != nullptr) {  // a copy in a folder of the scenario's own
                const std::string folder = scene.root + "\\" + step.folder;
                CreateDirectoryA(folder.c_str(), nullptr);
                ASSERT_TRUE(CopyFileA(exe.c_str(), (folder + "\\" + current->exe).c_str(), FALSE));
                exe = folder + "\\" + current->exe;
            }
            ASSERT_TRUE(Start(exe, text, program));
            break;
        }
        case Act::Window:
            window = WaitForDialog(program, text, kWait);
            ASSERT_NE(window, nullptr) << "no window \"" << text << "\"";
            break;
        case Act::Launcher:
            window = WaitForDialog(program, step.program->title, kWait);
            ASSERT_NE(window, nullptr) << "no launcher window; a message box's text: "
                                       << MessageText(WaitForMessageBox(program, 0));
            EXPECT_EQ(Dialogs(program).size(), 1u);
            CheckLauncher(window, *step.program);
            break;
        case Act::Box: {
            HWND box = WaitForMessageBox(program, kWait);
            ASSERT_NE(box, nullptr) << "no message box \"" << text << "\"";
            EXPECT_EQ(Caption(box), !step.caption.empty() ? step.caption : current->title);
            EXPECT_EQ(MessageText(box), text);
            ASSERT_TRUE(ClickItem(box, step.id)) << "could not click button " << step.id << " of the box";
            WaitFor([&] { return !IsWindow(box); }, 50);
            break;
        }
        case Act::NoBox: EXPECT_EQ(WaitForMessageBox(program, 0), nullptr) << "a message box is shown"; break;
        case Act::Click: ASSERT_TRUE(ClickItem(window, step.id)) << "could not click control " << step.id; break;
        case Act::Type:
            // As a person replaces what an edit box holds: a click into it unless the caret is
            // there already, Home, Shift+End, the new text.
            if (FocusedItem(window) != step.id) {
                ASSERT_TRUE(ClickItem(window, step.id)) << "could not click edit box " << step.id;
            }
            ASSERT_TRUE(WaitFor([&] { return FocusedItem(window) == step.id; }, 20)) << "no focus in " << step.id;
            ASSERT_TRUE(PressKey(window, VK_HOME) && PressKey(window, VK_END, VK_SHIFT) && TypeText(window, text));
            EXPECT_TRUE(WaitFor([&] { return ItemText(window, step.id) == text; }, 20, 5000))
                << "edit box " << step.id << " reads \"" << ItemText(window, step.id) << "\"";
            break;
        case Act::Key:
            ASSERT_TRUE(PressKey(window, WORD(step.id), WORD(step.modifier))) << "no key stroke to the window";
            break;
        case Act::Focus:
            WaitFor([&] { return FocusedItem(window) == step.id; }, 20, 5000);
            EXPECT_EQ(FocusedItem(window), step.id) << "the focus";
            break;
        case Act::Item: EXPECT_EQ(ItemText(window, step.id), text) << "control " << step.id; break;
        case Act::Until: {
            // A running search rewrites the control as it goes; one that stands still has stopped.
            std::string shown = ItemText(window, step.id), last = shown;
            const DWORD start = GetTickCount();
            DWORD changed = start;
            WaitFor([&] {
                if ((shown = ItemText(window, step.id)) != last) last = shown, changed = GetTickCount();
                return shown == text || GetTickCount() - changed > kWait;
            }, 5, 20 * kWait);
            EXPECT_EQ(shown, text) << "control " << step.id;
            std::cout << "[ MEASURED ] \"" << text << "\" after " << GetTickCount() - start << " ms\n";
            break;
        }
        case Act::CloseBox: ASSERT_TRUE(ClickCloseBox(window)) << "could not click the close box"; break;
        case Act::Post: PostCommand(window, step.id); break;
        case Act::End: {
            DWORD exitCode = 0;
            EXPECT_TRUE(WaitForEnd(program, kWait, &exitCode)) << "did not close";
            EXPECT_EQ(exitCode, 0u) << "ended abnormally";
            break;
        }
        case Act::Playing:
            EXPECT_TRUE(WaitFor([] { return !Recordings().empty(); }, 20)) << "nothing sounds";
            break;
        case Act::Played:
            // The null device takes frames faster than they would sound, then they stop.
            WaitFor([bytes = size_t(0)]() mutable {
                const size_t was = bytes;
                bytes = 0;
                for (const std::string& name : Recordings())
                    bytes += ReadWholeFile(std::string(kSounds) + "\\" + name).size();
                return bytes == was && bytes > 0;
            }, 500);
            break;
        }
    }
}

}  // namespace

void RunScenario(const Scenario& s) {
    Scene scene = Prepare(s.name);
    if (s.arrange != nullptr) s.arrange(scene);
    if (::testing::Test::HasFatalFailure()) return;
    const std::string fluxPath = scene.install + "\\flux.ini";
    const Digest flux = DigestOf(fluxPath);
    // Wine then looks for WINMM in the program's folder first, as Windows does: told by the
    // prefix's registry, since WINEDLLOVERRIDES set here would not reach the programs
    // (Wine 8 takes it from the Unix environment the runner was started with).
    const std::string planted = s.planted != nullptr ? scene.root + "\\" + s.planted : std::string();
    HKEY overrides = nullptr;
    if (!planted.empty()) {
        CreateDirectoryA(planted.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((std::string(kTools) + "\\planted_winmm.dll").c_str(), (planted + "\\WINMM.DLL").c_str(),
                              FALSE));
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\DllOverrides", 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &overrides, nullptr), 0);
        RegSetValueExA(overrides, "winmm", 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    Program program;
    const ProgramCase* current = nullptr;
    Play(s, scene, program, current);
    if (overrides != nullptr) {
        RegDeleteValueA(overrides, "winmm");
        RegCloseKey(overrides);
        EXPECT_EQ(GetFileAttributesA((planted + "\\planted_winmm_ran").c_str()), INVALID_FILE_ATTRIBUTES)
            << "the WINMM.DLL planted beside the program was loaded";
    }
    if (program.process != nullptr) {
        ADD_FAILURE() << "the program was still running, with " << Dialogs(program).size() << " windows";
        Kill(program);
    }
    if (g_held != INVALID_HANDLE_VALUE) CloseHandle(g_held), g_held = INVALID_HANDLE_VALUE;
    ExpectLines(scene.logs + "\\standin.log", s.games, scene);
    const Digest expected = s.flux == nullptr ? flux
                            : DigestOf(s.flux[0] == '$' ? Expand(s.flux, scene)
                                                        : std::string("C:\\expected\\") + s.flux);
    const Digest after = DigestOf(fluxPath);
    EXPECT_EQ(after.size, expected.size) << "flux.ini's size";
    EXPECT_TRUE(after.hash == expected.hash)
        << "flux.ini differs" << (after.size < 100000 ? ":\n" + ReadWholeFile(fluxPath) : std::string());
    ExpectLines(scene.logs + "\\recorder.log", s.opened, scene);
    if (s.heard != nullptr && current != nullptr) {
        std::vector<std::string> recordings;
        WaitFor([&] {  // until none is still being made
            recordings = Recordings();
            return std::none_of(recordings.begin(), recordings.end(),
                                [](const std::string& name) { return name.find(".part") != std::string::npos; });
        }, 100);
        std::string heard;
        for (const std::string& recording : recordings) heard += (heard.empty() ? "" : ", ") + Describe(recording);
        EXPECT_TRUE(std::regex_match(heard, std::regex(s.heard))) << "heard \"" << heard << "\", not " << s.heard;
    }
    for (const RegValue& want : s.registry)
        EXPECT_EQ(Stored(want), Show(want.type, Expand(want.data, scene)))
            << want.key << " " << (want.name ? want.name : "");
}
