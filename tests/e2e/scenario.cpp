#include "scenario.h"
#include "launcher/format_message.h"
#include "resources/string_table.h"
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <tuple>

namespace {

// Fixed places in the test prefix, laid out by tests/e2e/run.sh.
const char kLaunchers[] = "C:\\launchers";
const std::string kTools = "C:\\tools";
const char kSample[] = "C:\\sample";
// Where tests/e2e/run.sh has every clip the programs play recorded, one file a clip.
const std::string kSounds = "C:\\sounds";
const char kOverrides[] = "Software\\Wine\\DllOverrides";
const DWORD kWait = 30000;

// The text with a string's terminating zero, for a value of that type.
std::string Data(DWORD type, std::string data) { return type == REG_SZ || type == REG_EXPAND_SZ ? data + '\0' : data; }

std::string Expand(std::string text, const Scene& scene) {
    for (const auto& [marker, value] : {std::make_pair("$install", scene.install), std::make_pair("$root", scene.root)})
        for (size_t at; (at = text.find(marker)) != std::string::npos;) text.replace(at, strlen(marker), value);
    return text;
}

// The recordings so far, in order, with those still being made ("NNN.part"); not the recorder's lock (".numbering").
std::vector<std::string> Recordings() {
    std::vector<std::string> names;
    std::error_code missing;  // no recorder in the player's own prefix
    for (const auto& entry : std::filesystem::directory_iterator(kSounds, missing))
        if (entry.path().filename().string()[0] != '.') names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    return names;
}

// What the registry holds: type 0 and no data for a missing value, "<no key>" for a missing key.
std::pair<DWORD, std::string> Stored(const RegValue& want) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, want.key, 0, KEY_READ, &key) != 0) return {0, "<no key>"};
    DWORD type = 0, size = 4096;
    std::string data(size, '\0');
    if (want.name == nullptr || RegQueryValueExA(key, want.name, nullptr, &type, LPBYTE(&data[0]), &size) != 0)
        type = size = 0;
    RegCloseKey(key);
    return {type, data.substr(0, size)};
}

// A folder of the row's own, named as its test is (the name's part after "Run/").
Scene Prepare() {
    Scene scene;
    scene.root =
        std::string("C:\\e2e\\") + (strchr(::testing::UnitTest::GetInstance()->current_test_info()->name(), '/') + 1);
    RemoveTree(scene.root);
    for (const std::string& clip : Recordings()) DeleteFileA(clip.c_str());
    EXPECT_TRUE(std::filesystem::create_directories(scene.root)) << scene.root;
    scene.install = scene.root + "\\Drifthaven";
    EXPECT_TRUE(CopyTree(kSample, scene.install));
    EXPECT_TRUE(CopyFileA((kTools + "\\Drifthvn.exe").c_str(), (scene.install + "\\Drifthvn.exe").c_str(), FALSE));
    SetEnvironmentVariableA("STANDIN_LOG", (scene.root + "\\standin.log").c_str());
    DeleteKey("Software\\Vortigen");
    SetGameValue("InstallPath", REG_SZ, scene.install);
    SetGameValue("Version", REG_DWORD, Dword(14));
    SetValue(kModKey, "Agreed", REG_DWORD, Dword(1));
    return scene;
}

void CheckLauncher(const Program& running, HWND window, const ProgramCase& program) {
    EXPECT_EQ(Dialogs(running).size(), 1u);
    std::string captions;
    for (int button : {IDOK, IDC_README, IDC_VISIT_SITE, IDCANCEL, IDC_TAUNT})
        captions += ItemText(window, button) + (ItemVisible(window, button) ? "|" : " (hidden)|");
    EXPECT_EQ(captions, program.captions);
    // The picture is read off the screen by the row of the display scale (display_scale.cpp).
    // The window's icons cannot be read from another process under Wine; the unit tests check them.
}

// The taunts as their WAVE headers give them (resources/*/taunt*.wav): length and channels.
const std::tuple<const char*, double, int> kClips[] = {{"154", 3.05, 1}, {"133", 9.05, 2}, {"138", 4.0, 1}};

// What one recording holds: the clip it is whole and not silent, "cut" when
// shorter than every clip of its channels; else its figures.
std::string Describe(const std::string& recording) {
    const std::string data = ReadWholeFile(recording);
    if (data.size() < 44 || data.compare(0, 4, "RIFF") != 0) return "<not a recording: " + recording + ">";
    const int channels = BYTE(data[22]);
    DWORD rate = 0;
    memcpy(&rate, &data[24], 4);
    const double seconds = double(data.size() - 44) / (rate * channels * 2);
    int loudest = 0;
    for (size_t at = 44; at + 1 < data.size(); at += 2)
        loudest = std::max(loudest, std::abs(int(short(BYTE(data[at]) | BYTE(data[at + 1]) << 8))));
    std::cout << "[ MEASURED ] recording of " << seconds << " s, " << channels << " channels\n";
    bool cut = true;
    for (const auto& [clip, length, clipChannels] : kClips) {
        if (clipChannels == channels && seconds > length - 0.05 && seconds < length + 0.2 && loudest > 1000)
            return clip;
        cut = cut && (clipChannels != channels || seconds < length - 0.2);
    }
    return cut ? "cut" : recording + ": " + std::to_string(seconds) + " s, loudest " + std::to_string(loudest);
}

// A file's size and a hash of its bytes (FNV-1a), read as a stream: a damaged
// flux.ini can be larger than the test's own memory.
std::pair<unsigned long long, unsigned long long> DigestOf(const std::string& path) {
    std::pair<unsigned long long, unsigned long long> digest = {0, 14695981039346656037ull};
    std::ifstream file(path, std::ios::binary);
    for (std::istreambuf_iterator<char> at(file), end; at != end; ++at, ++digest.first)
        digest.second = (digest.second ^ BYTE(*at)) * 1099511628211ull;
    return digest;
}

// The program started last ends by itself within the wait, with exit code 0; it
// is killed when it does not, or when the row has failed already.
void Finish(Program& program) {
    DWORD exitCode = 0;
    if (program.process != nullptr && (::testing::Test::HasFatalFailure() || !WaitForEnd(program, kWait, &exitCode))) {
        ADD_FAILURE() << "the program was still running, with " << Dialogs(program).size() << " windows";
        Kill(program);
    }
    EXPECT_EQ(exitCode, 0u) << "ended abnormally";
}

void Play(const Scenario& s, const Scene& scene, Program& program, const ProgramCase*& current) {
    HWND window = nullptr;
    size_t index = 0, before = 0;  // the steps so far; the recordings before the program started last
    for (const Step& step : s.steps) {
        SCOPED_TRACE("step " + std::to_string(++index));
        const std::string text = Expand(step.text, scene);
        switch (step.act) {
        case Act::Start: {
            Finish(program);
            before = Recordings().size();
            current = step.program;
            window = nullptr;
            const std::string folder = step.folder != nullptr ? scene.root + "\\" + step.folder : kLaunchers;
            ASSERT_TRUE(step.folder == nullptr || CopyTree(kLaunchers, folder)) << "programs not copied to " << folder;
            ASSERT_TRUE(Start(folder + "\\" + current->exe, text, program));
            break;
        }
        case Act::Window:
        case Act::Launcher: {
            const std::string caption = step.act == Act::Launcher ? current->title : text;
            window = WaitForDialog(program, caption, kWait);
            ASSERT_NE(window, nullptr) << "no window \"" << caption
                                       << "\"; a message box's text: " << MessageText(WaitForMessageBox(program, 0));
            if (step.act == Act::Launcher) CheckLauncher(program, window, *current);
            ASSERT_TRUE(step.id == 0 || ClickItem(window, step.id)) << "could not click control " << step.id;
            break;
        }
        case Act::Box: {
            HWND box = WaitForMessageBox(program, kWait);
            ASSERT_NE(box, nullptr) << "no message box \"" << text << "\"";
            EXPECT_EQ(Caption(box), !step.caption.empty() ? step.caption : current->title);
            EXPECT_EQ(MessageText(box), text);
            ASSERT_TRUE(ClickItem(box, step.id)) << "could not click button " << step.id << " of the box";
            WaitFor(50, kWait, [&] { return !IsWindow(box); });
            break;
        }
        case Act::Click: ASSERT_TRUE(ClickItem(window, step.id)) << "could not click control " << step.id; break;
        case Act::Type:
            // As a person replaces what an edit box holds: a click into it unless the caret is
            // there already, Home, Shift+End, the new text.
            ASSERT_TRUE(FocusedItem(window) == step.id || ClickItem(window, step.id))
                << "could not click edit box " << step.id;
            ASSERT_TRUE(WaitFor(20, kWait, [&] { return FocusedItem(window) == step.id; }))
                << "no focus in " << step.id;
            ASSERT_TRUE(PressKey(window, VK_HOME) && PressKey(window, VK_END, VK_SHIFT) && TypeText(window, text));
            // A person reads what was typed before the next key: meanwhile Wine's folder picker completes
            // names in its folder box in the background, and a key too soon finds its text half done.
            Sleep(300);
            EXPECT_TRUE(WaitFor(20, 5000, [&] { return ItemText(window, step.id) == text; }))
                << "edit box " << step.id << " reads \"" << ItemText(window, step.id) << "\"";
            break;
        case Act::Key: ASSERT_TRUE(PressKey(window, WORD(step.id), WORD(step.modifier))) << "no key stroke"; break;
        case Act::Focus:
            EXPECT_TRUE(WaitFor(20, 5000, [&] { return FocusedItem(window) == step.id; }))
                << "the focus is on " << FocusedItem(window) << ", not " << step.id;
            break;
        case Act::Item: EXPECT_EQ(ItemText(window, step.id), text) << "control " << step.id; break;
        case Act::Until: {
            // A running search rewrites the control as it goes; one that stands still has stopped.
            std::string shown, last;
            DWORD changed = GetTickCount(), start = changed;
            WaitFor(5, 20 * kWait, [&] {
                if ((shown = ItemText(window, step.id)) != last) last = shown, changed = GetTickCount();
                return shown == text || GetTickCount() - changed > kWait;
            });
            EXPECT_EQ(shown, text) << "control " << step.id;
            std::cout << "[ MEASURED ] \"" << text << "\" after " << GetTickCount() - start << " ms\n";
            break;
        }
        case Act::CloseBox: ASSERT_TRUE(ClickCloseBox(window)) << "could not click the close box"; break;
        case Act::Post: PostCommand(window, step.id); break;
        case Act::Scaled: CheckScaled(program, window, Caption(window) == current->title ? current : nullptr); break;
        case Act::Playing:
            EXPECT_TRUE(WaitFor(20, kWait, [&] { return Recordings().size() > before; })) << "nothing sounds";
            break;
        case Act::Played:
            // The null device takes frames faster than they would sound, then they stop.
            WaitFor(500, kWait, [&, bytes = size_t(0)]() mutable {
                const size_t was = bytes;
                const std::vector<std::string> recordings = Recordings();
                bytes = 0;
                for (size_t at = before; at < recordings.size(); ++at) bytes += ReadWholeFile(recordings[at]).size();
                return bytes == was && bytes > 0;
            });
            break;
        }
    }
}

}  // namespace

std::string Text(UINT id, std::vector<std::string> arguments) {
    const char* text = FindStringText(id);
    EXPECT_NE(text, nullptr) << "no string " << id;
    return text != nullptr ? FormatMessageText(text, arguments) : std::string();
}

// The key made when missing.
void SetValue(const char* key, const char* name, DWORD type, const std::string& text) {
    const std::string data = Data(type, text);
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, key, name, type, data.data(), DWORD(data.size())), 0) << key;
}

void MakeFile(const std::string& path, DWORD size, DWORD timeHigh, DWORD timeLow) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    EXPECT_EQ(SetFilePointer(file, LONG(size), nullptr, FILE_BEGIN), size);
    EXPECT_TRUE(SetEndOfFile(file));
    const FILETIME time = {timeLow, timeHigh};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

// The DLLs that a row plants beside a launcher: one the program loads at its first
// sound, one it imports, which the manifest's common controls 6 come from instead.
// Each with the name that Wine's DLL overrides know it by.
const struct {
    const char *file, *name;
} kPlanted[] = {{"WINMM.DLL", "winmm"}, {"COMCTL32.DLL", "comctl32"}};

// Wine then looks for them in the program's folder first, as Windows does: told by the
// prefix's registry, since WINEDLLOVERRIDES set here would not reach the programs
// (Wine 8 takes it from the Unix environment the runner was started with).
void PlantDlls(Scene& scene) {
    const std::string planted = scene.root + "\\planted";
    CreateDirectoryA(planted.c_str(), nullptr);
    for (const auto& dll : kPlanted) {
        ASSERT_TRUE(CopyFileA((kTools + "\\planted_dll.dll").c_str(), (planted + "\\" + dll.file).c_str(), FALSE));
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, dll.name, REG_SZ, "native,builtin", 15), 0);
    }
}

void RunScenario(const Scenario& s) {
    Scene scene = Prepare();
    if (s.arrange != nullptr) s.arrange(scene);
    if (::testing::Test::HasFatalFailure()) return;
    const std::string fluxPath = scene.install + "\\flux.ini";
    const auto flux = DigestOf(fluxPath);
    Program program;
    const ProgramCase* current = nullptr;
    Play(s, scene, program, current);
    Finish(program);
    for (const auto& dll : kPlanted) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kOverrides, dll.name);
        EXPECT_EQ(GetFileAttributesA((scene.root + "\\planted\\" + dll.file + "_ran").c_str()), INVALID_FILE_ATTRIBUTES)
            << "the " << dll.file << " planted beside the program was loaded";
    }
    if (scene.held != INVALID_HANDLE_VALUE) CloseHandle(scene.held);
    // The stand-ins' log, once it has as many lines as expected or after the wait: a line each, and each
    // expected text in one of them.
    std::string log;
    const auto lines = [&] { return size_t(std::count(log.begin(), log.end(), '\n')); };
    WaitFor(100, kWait, [&] { return log = ReadWholeFile(scene.root + "\\standin.log"), lines() >= s.logged.size(); });
    EXPECT_EQ(lines(), s.logged.size()) << "the stand-ins' log:\n" << log;
    for (const char* want : s.logged)
        EXPECT_NE(log.find(Expand(want, scene)), std::string::npos) << "no line holds " << want << " in:\n" << log;
    const auto expected =
        s.flux == nullptr ? flux
                          : DigestOf(s.flux[0] == '$' ? Expand(s.flux, scene) : std::string("C:\\expected\\") + s.flux);
    const auto after = DigestOf(fluxPath);
    EXPECT_EQ(after, expected) << "flux.ini's size and hash"
                               << (after.first < 100000 ? ":\n" + ReadWholeFile(fluxPath) : std::string());
    if (s.heard != nullptr && current != nullptr) {
        std::vector<std::string> recordings;  // once none is still being made ("NNN.part")
        const auto making = [](const std::string& name) { return name.find(".part") != std::string::npos; };
        WaitFor(100, kWait,
                [&] { return recordings = Recordings(), std::none_of(recordings.begin(), recordings.end(), making); });
        std::string heard;
        for (const std::string& recording : recordings) heard += (heard.empty() ? "" : ", ") + Describe(recording);
        EXPECT_TRUE(std::regex_match(heard, std::regex(s.heard))) << "heard \"" << heard << "\", not " << s.heard;
    }
    for (const RegValue& want : s.registry)
        EXPECT_EQ(Stored(want), std::make_pair(want.type, Data(want.type, Expand(want.data, scene))))
            << want.key << " " << (want.name ? want.name : "");
}
