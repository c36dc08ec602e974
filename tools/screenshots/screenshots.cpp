// The driver of tools/screenshots.sh: starts a program and walks it to the
// windows to be pictured, one step an argument.
//   screenshots <program.exe> <step>...
// Steps, each acting on the window found last:
//   window=<caption>      wait for the program's dialog of that caption
//   box                   wait for one of its message boxes (not the window found last)
//   click=<name>          click the button of that name (IDOK, IDC_SEARCH ...) with the pointer
//   until=<name>=<text>   wait until the control of that name reads the text
//   picture=<file.bmp>    save a picture of the window
// When the steps are done the program has a few seconds to end, then is stopped.
#include <cstdio>
#include <cstdlib>
#include <string>
#include "driver.h"
#include "resources/resource_ids.h"

namespace {

// The controls the steps name, in the message boxes and the programs' windows.
int ControlId(const std::string& name) {
    const struct {
        const char* name;
        int id;
    } kControls[] = {{"IDOK", IDOK},         {"IDCANCEL", IDCANCEL},     {"IDYES", IDYES},
                     {"IDNO", IDNO},         {"IDC_SEARCH", IDC_SEARCH}, {"IDC_STATUS", IDC_STATUS},
                     {"IDC_PATH", IDC_PATH}, {"IDC_README", IDC_README}, {"IDC_VISIT_SITE", IDC_VISIT_SITE}};
    for (const auto& control : kControls)
        if (name == control.name) return control.id;
    std::printf("  no control named %s\n", name.c_str());
    return 0;
}

const DWORD kWait = 60000;

void ListWindows(const Program& program) {
    std::printf("  the program's windows:\n");
    for (HWND other : Dialogs(program)) std::printf("    \"%s\"\n", Caption(other).c_str());
}

// A message box other than the window pressed last, which may take a moment to go.
HWND WaitForNewBox(const Program& program, HWND previous) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start <= kWait) {
        for (HWND window : Dialogs(program))
            if (window != previous && GetDlgItem(window, 0xFFFF) != nullptr) return window;
        if (WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
    return nullptr;
}

bool Picture(HWND window, const std::string& path) {
    SetForegroundWindow(window);
    Sleep(1500);  // let it paint, the launcher's picture included
    return SaveWindowPicture(window, path);
}

bool RunStep(const Program& program, const std::string& step, HWND& window) {
    const size_t equals = step.find('=');
    const std::string verb = step.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : step.substr(equals + 1);
    if (verb == "window") {
        window = WaitForDialog(program, value, kWait);
        return window != nullptr;
    }
    if (verb == "box") {
        window = WaitForNewBox(program, window);
        if (window != nullptr) std::printf("  box \"%s\": %s\n", Caption(window).c_str(), MessageText(window).c_str());
        return window != nullptr;
    }
    if (window == nullptr) return false;
    if (verb == "click") return ControlId(value) != 0 && ClickItem(window, ControlId(value));
    if (verb == "until") {
        const size_t second = value.find('=');
        if (second == std::string::npos) return false;
        const int id = ControlId(value.substr(0, second));
        return id != 0 && WaitFor(100, kWait, [&] { return ItemText(window, id) == value.substr(second + 1); });
    }
    if (verb == "picture") return Picture(window, value);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: screenshots <program.exe> <step>...\n");
        return 2;
    }
    Program program;
    if (!Start(argv[1], "", program)) {
        std::printf("could not start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (int i = 2; i < argc; ++i) {
        std::printf("%s: %s\n", argv[1], argv[i]);
        if (!RunStep(program, argv[i], window)) {
            std::printf("  failed\n");
            ListWindows(program);
            Kill(program);
            return 1;
        }
    }
    if (!WaitForEnd(program, 10000)) Kill(program);
    return 0;
}
