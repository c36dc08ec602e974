// The main job's driver: starts a launcher, waits for its window, takes a picture
// of it, reads its buttons, presses Play and reports what happened.
//   demo <launcher.exe> <window title> <picture.bmp>
#include <cstdio>
#include "driver.h"
#include "resources/resource_ids.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: demo <launcher.exe> <window title> <picture.bmp>\n");
        return 2;
    }
    Program program;
    if (!Start(argv[1], "", program)) {
        std::printf("could not start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    // On a first start the no-warranty notice comes first; the demo accepts it.
    HWND notice = WaitForDialog(program, "No Warranty", 20000);
    if (notice != nullptr) {
        std::printf("The no-warranty notice appeared first; accepting it with OK.\n");
        if (!ClickItem(notice, IDOK)) std::printf("Its OK button could not be clicked.\n");
    }
    HWND window = WaitForDialog(program, argv[2], 60000);
    if (window == nullptr) {
        std::printf("no window \"%s\" appeared; the program's own windows:\n", argv[2]);
        for (HWND other : Dialogs(program)) std::printf("  \"%s\"\n", Caption(other).c_str());
        Kill(program);
        return 1;
    }
    Sleep(3500);  // let it paint, and let its taunt (about 3 s) sound to its end
    const bool saved = SaveWindowPicture(window, argv[3]);
    std::printf("The launcher window \"%s\" is open.\n", Caption(window).c_str());
    std::printf("Its buttons: [%s] [%s] [%s] [%s]\n", ItemText(window, IDOK).c_str(), ItemText(window, IDC_README).c_str(),
                ItemText(window, IDC_VISIT_SITE).c_str(), ItemText(window, IDCANCEL).c_str());
    std::printf(saved ? "A picture of it was saved.\n" : "No picture could be taken.\n");
    std::printf("Pressing Play...\n");
    if (!ClickItem(window, IDOK)) std::printf("Play could not be clicked: another window covers it.\n");
    if (!WaitForEnd(program, 60000)) {
        std::printf("The launcher did not close after Play; its windows:\n");
        for (HWND other : Dialogs(program)) std::printf("  \"%s\"\n", Caption(other).c_str());
        Kill(program);
        return 1;
    }
    std::printf("The launcher closed after Play.\n");
    return 0;
}
