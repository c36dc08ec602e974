// What a player sees at the display scale of the prefix (tests/e2e/run.sh sets
// it): the window fits a common screen of that scale, the launcher's picture
// fills its frame, the controls are the common controls 6, and a screen reader
// has a name for every control.
#include <algorithm>
#include <cmath>
#include <iostream>
#include "scenario.h"
// After windows.h, which the driver brings.
#include <psapi.h>

namespace {

// The screens players have at each scale (DPI, width, height), and the taskbar's height at 100 %.
const int kScreens[][3] = {{96, 1366, 768}, {120, 1600, 900}, {144, 1920, 1080}, {192, 3840, 2160}};
const int kTaskbar = 40;

// The picture that the program carries (bitmap 129), read from its file; its
// pixels laid out as the screen's are.
ScreenImage ProgramPicture(const Program& program) {
    ScreenImage picture;
    char path[MAX_PATH] = {};
    GetModuleFileNameExA(program.process, nullptr, path, MAX_PATH);
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module != nullptr ? FindResourceA(module, MAKEINTRESOURCEA(IDB_PICTURE), RT_BITMAP) : nullptr;
    const char* data = found != nullptr ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    if (data != nullptr) {
        BITMAPINFOHEADER header;
        memcpy(&header, data, sizeof(header));
        const size_t size = SizeofResource(module, found) - header.biSize;
        picture = {header.biWidth, header.biHeight, std::string(data + header.biSize, size)};
    }
    if (module != nullptr) FreeLibrary(module);
    return picture;
}

// The mean of each colour channel over a rectangle of pixels.
std::vector<double> Mean(const ScreenImage& image, int left, int top, int right, int bottom) {
    std::vector<double> sum(3, 0.0);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            for (int channel = 0; channel < 3; ++channel) sum[channel] += BYTE(image.At(x, y) >> (8 * channel));
    for (double& channel : sum) channel /= std::max(1, (right - left) * (bottom - top));
    return sum;
}

// The picture fills its frame: drawn at the largest size that keeps its
// proportions (pixel for pixel within 5 % of that), centred; what it leaves of
// the frame in its corner's colour. Read off the screen and set against the
// picture the program carries, stretched the same way, in the blocks of a grid.
void CheckPicture(const Program& program, HWND window) {
    HWND frame = GetDlgItem(window, IDC_PICTURE);
    RECT area = {};
    GetClientRect(frame, &area);
    MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const ScreenImage shown = ReadScreen(area), picture = ProgramPicture(program);
    ASSERT_TRUE(!shown.rows.empty() && picture.width > 0) << "the screen or the program's picture could not be read";
    double scale = std::min(double(shown.width) / picture.width, double(shown.height) / picture.height);
    if (std::fabs(scale - 1) < 0.05) scale = 1;
    const int width = int(std::lround(picture.width * scale)), height = int(std::lround(picture.height * scale));
    const int left = (shown.width - width) / 2, top = (shown.height - height) / 2;
    std::cout << "[ MEASURED ] frame " << shown.width << " x " << shown.height << ", picture drawn " << width << " x "
              << height << "\n";
    int strays = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            strays += (x < left || x >= left + width || y < top || y >= top + height) &&
                      shown.At(x, y) != picture.At(0, 0);
    EXPECT_EQ(strays, 0) << "pixels of the frame outside the picture not in its corner's colour";

    // Blocks of a grid over what shows of the picture, each against the same block of the program's.
    const int cells = 12, x0 = std::max(0, left), y0 = std::max(0, top);
    const int x1 = std::min(shown.width, left + width), y1 = std::min(shown.height, top + height);
    const auto at = [&](int from, int to, int index) { return from + (to - from) * index / cells; };
    const auto source = [&](int on, int origin) { return int(std::lround((on - origin) / scale)); };
    double difference = 0;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column) {
            const int l = at(x0, x1, column), r = at(x0, x1, column + 1), t = at(y0, y1, row), b = at(y0, y1, row + 1);
            const auto seen = Mean(shown, l, t, r, b);
            const auto meant = Mean(picture, source(l, left), source(t, top), source(r, left), source(b, top));
            for (int channel = 0; channel < 3; ++channel)
                difference += std::fabs(seen[channel] - meant[channel]) / (cells * cells * 3);
        }
    std::cout << "[ MEASURED ] the picture on the screen differs from the program's by " << difference
              << " of 255 on average, in blocks of a 12 x 12 grid\n";
    EXPECT_LT(difference, 6.0) << "the picture on the screen is not the program's, stretched to fill its frame";
}

}  // namespace

void CheckScaled(const Program& program, HWND window, const ProgramCase* launcher) {
    ASSERT_TRUE(Ready(window)) << "the window is not shown";
    HDC display = GetDC(window);
    const int dpi = GetDeviceCaps(display, LOGPIXELSY);
    ReleaseDC(window, display);
    const auto* screen = std::find_if(std::begin(kScreens), std::end(kScreens), [&](auto& at) { return at[0] == dpi; });
    ASSERT_NE(screen, std::end(kScreens)) << "no common screen known for " << dpi << " DPI";
    RECT area = {};
    GetWindowRect(window, &area);
    std::cout << "[ MEASURED ] at " << dpi << " DPI the window \"" << Caption(window) << "\" is "
              << area.right - area.left << " x " << area.bottom - area.top << "\n";
    EXPECT_LE(area.right - area.left, (*screen)[1]);
    EXPECT_LE(area.bottom - area.top, (*screen)[2] - kTaskbar * dpi / 96) << "it does not fit above the taskbar";

    // Every control a person can see and use has a name (an edit box its label's),
    // none a resource number's "\xFF\x81"; a read-only text is read out by its content.
    for (HWND item = GetWindow(window, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(item);
        const bool text = SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL;
        if (!IsWindowVisible(item) || id == IDC_STATIC || id == IDC_STATUS ||
            (text && GetWindowLongA(item, GWL_STYLE) & ES_READONLY))
            continue;
        const std::string name = ReaderName(item);
        EXPECT_TRUE(!name.empty() && name[0] != '<' && BYTE(name[0]) != 0xFF) << id << " is read out as " << name;
    }
    if (launcher != nullptr) {
        EXPECT_EQ(ReaderName(GetDlgItem(window, IDC_PICTURE)), launcher->title) << "the picture's name";
        CheckPicture(program, window);
    }

    // The comctl32 that the program loaded: the common controls 6 of the system's side-by-side
    // store, as its folder's name says (Wine's copy there carries its older one's version block).
    HMODULE modules[512];
    DWORD size = 0;
    ASSERT_TRUE(EnumProcessModules(program.process, modules, sizeof(modules), &size)) << GetLastError();
    std::string loaded = "<none>";
    for (DWORD index = 0; index < std::min<DWORD>(size / sizeof(HMODULE), 512); ++index) {
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(program.process, modules[index], path, MAX_PATH);
        CharLowerA(path);
        if (std::string(path).find("\\comctl32.dll") != std::string::npos) loaded = path;
    }
    EXPECT_TRUE(loaded.find("\\winsxs\\") != std::string::npos &&
                loaded.find("_microsoft.windows.common-controls_6595b64144ccf1df_6.") != std::string::npos)
        << "comctl32 loaded from " << loaded;
}
