// What a player sees at the display scale of the prefix (tests/e2e/run.sh sets
// it): the window fits a common screen of that scale, the launcher's picture
// fills its frame, the controls are the common controls 6, and a screen reader
// has a name for every control.
#include <oleacc.h>
#include <psapi.h>
#include <algorithm>
#include <cmath>
#include <iostream>
#include "scenario.h"

namespace {

// The screens players have at each scale, and the taskbar's height at 100 %.
struct Screen {
    int dpi, width, height;
};
const Screen kScreens[] = {{96, 1366, 768}, {120, 1600, 900}, {144, 1920, 1080}, {192, 3840, 2160}};
const int kTaskbar = 40;

int Dpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// The picture that a program carries (bitmap 129), read from its file: size and pixels.
struct Picture {
    int width = 0, height = 0;
    std::string rows;  // 24-bit, bottom-up, each padded to 4 bytes
    COLORREF At(int x, int y) const {
        const size_t at = size_t(height - 1 - y) * (size_t(width * 3 + 3) & ~size_t(3)) + size_t(x) * 3;
        return RGB(BYTE(rows[at + 2]), BYTE(rows[at + 1]), BYTE(rows[at]));
    }
};
Picture ProgramPicture(const Program& program) {
    Picture picture;
    char path[MAX_PATH] = {};
    if (GetModuleFileNameExA(program.process, nullptr, path, MAX_PATH) == 0) return picture;
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC found = module != nullptr ? FindResourceA(module, MAKEINTRESOURCEA(IDB_PICTURE), RT_BITMAP) : nullptr;
    const char* data = found != nullptr ? static_cast<const char*>(LockResource(LoadResource(module, found))) : nullptr;
    if (data != nullptr) {
        BITMAPINFOHEADER header;
        memcpy(&header, data, sizeof(header));
        picture.width = header.biWidth;
        picture.height = header.biHeight;
        picture.rows.assign(data + header.biSize, SizeofResource(module, found) - header.biSize);
    }
    if (module != nullptr) FreeLibrary(module);
    return picture;
}

// Mean colour of a rectangle of pixels, as its three channels.
template <class Image> std::vector<double> Mean(const Image& image, int left, int top, int right, int bottom) {
    std::vector<double> sum(3, 0.0);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const COLORREF pixel = image.At(x, y);
            sum[0] += GetRValue(pixel), sum[1] += GetGValue(pixel), sum[2] += GetBValue(pixel);
        }
    const double count = std::max(1, (right - left) * (bottom - top));
    for (double& channel : sum) channel /= count;
    return sum;
}

// The picture fills its frame: drawn at the largest size that keeps its
// proportions (pixel for pixel within 5 % of that), centred; what it leaves of
// the frame in its corner's colour. Read off the screen and set against the
// picture the program carries, stretched the same way, in blocks of a grid.
void CheckPicture(const Program& program, HWND window) {
    HWND frame = GetDlgItem(window, IDC_PICTURE);
    RECT area = {};
    GetClientRect(frame, &area);
    MapWindowPoints(frame, nullptr, reinterpret_cast<POINT*>(&area), 2);
    const ScreenImage shown = ReadScreen(area);
    const Picture picture = ProgramPicture(program);
    ASSERT_FALSE(shown.rows.empty()) << "the screen could not be read";
    ASSERT_GT(picture.width, 0) << "no picture in the program";
    double scale = std::min(double(shown.width) / picture.width, double(shown.height) / picture.height);
    if (std::fabs(scale - 1) < 0.05) scale = 1;
    const int drawnWidth = int(std::lround(picture.width * scale)), drawnHeight = int(std::lround(picture.height * scale));
    const int left = (shown.width - drawnWidth) / 2, top = (shown.height - drawnHeight) / 2;
    std::cout << "[ MEASURED ] at " << Dpi() << " DPI: frame " << shown.width << " x " << shown.height
              << ", picture drawn " << drawnWidth << " x " << drawnHeight << "\n";

    const COLORREF corner = picture.At(0, 0);
    int strays = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            if ((x < left || x >= left + drawnWidth || y < top || y >= top + drawnHeight) && shown.At(x, y) != corner)
                ++strays;
    EXPECT_EQ(strays, 0) << "pixels of the frame outside the picture not in its corner's colour";

    const int visibleLeft = std::max(0, left), visibleTop = std::max(0, top);
    const int visibleRight = std::min(shown.width, left + drawnWidth), visibleBottom = std::min(shown.height, top + drawnHeight);
    const int cells = 12;
    double difference = 0;
    for (int row = 0; row < cells; ++row)
        for (int column = 0; column < cells; ++column) {
            const int x0 = visibleLeft + (visibleRight - visibleLeft) * column / cells;
            const int x1 = visibleLeft + (visibleRight - visibleLeft) * (column + 1) / cells;
            const int y0 = visibleTop + (visibleBottom - visibleTop) * row / cells;
            const int y1 = visibleTop + (visibleBottom - visibleTop) * (row + 1) / cells;
            const auto source = [&](int at, int origin) { return int(std::lround((at - origin) / scale)); };
            const std::vector<double> seen = Mean(shown, x0, y0, x1, y1);
            const std::vector<double> meant = Mean(picture, source(x0, left), source(y0, top), source(x1, left), source(y1, top));
            for (int channel = 0; channel < 3; ++channel) difference += std::fabs(seen[channel] - meant[channel]);
        }
    difference /= cells * cells * 3;
    std::cout << "[ MEASURED ] the picture on the screen differs from the program's by " << difference
              << " of 255 on average, in blocks of a 12 x 12 grid\n";
    EXPECT_LT(difference, 6.0) << "the picture on the screen is not the program's, stretched to fill its frame";
}

// The comctl32 that the program loaded: the common controls 6 of the system's
// side-by-side store, as the folder's name says (Wine's copy there carries the
// version block of its older one).
void CheckCommonControls(const Program& program) {
    HMODULE modules[512];
    DWORD size = 0;
    ASSERT_TRUE(EnumProcessModules(program.process, modules, sizeof(modules), &size)) << GetLastError();
    std::string loaded = "<none>";
    for (DWORD at = 0; at < size / sizeof(HMODULE) && at < 512; ++at) {
        char path[MAX_PATH] = {};
        GetModuleFileNameExA(program.process, modules[at], path, MAX_PATH);
        std::string name = path;
        CharLowerA(&name[0]);
        if (name.size() >= 13 && name.compare(name.size() - 13, 13, "\\comctl32.dll") == 0) loaded = name;
    }
    EXPECT_NE(loaded.find("\\winsxs\\"), std::string::npos) << "comctl32 loaded from " << loaded;
    EXPECT_NE(loaded.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
        << "comctl32 loaded from " << loaded;
}

// What a screen reader says for a control: the name its accessible object gives.
std::string ReaderName(HWND control) {
    IAccessible* accessible = nullptr;
    if (AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&accessible)) != S_OK)
        return "<no accessible object>";
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string text = "<no name>";
    if (accessible->get_accName(self, &name) == S_OK && name != nullptr) {
        const int length = WideCharToMultiByte(CP_ACP, 0, name, -1, nullptr, 0, nullptr, nullptr);
        text.assign(size_t(std::max(length, 1)), '\0');
        WideCharToMultiByte(CP_ACP, 0, name, -1, &text[0], length, nullptr, nullptr);
        text.resize(text.size() - 1);
    }
    SysFreeString(name);
    accessible->Release();
    return text;
}

// Every control that a person can see and use has a name (an edit box the one
// of its label), none a resource number's "\xFF\x81"; the launcher's picture is
// named after the program. A read-only text is read out by its content.
void CheckNames(HWND window, const ProgramCase* program) {
    CoInitialize(nullptr);
    for (HWND item = GetWindow(window, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT)) {
        if (!IsWindowVisible(item) || GetDlgCtrlID(item) == IDC_STATIC || GetDlgCtrlID(item) == IDC_STATUS) continue;
        if (GetWindowLongA(item, GWL_STYLE) & ES_READONLY && SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            continue;
        const std::string name = ReaderName(item);
        EXPECT_TRUE(!name.empty() && name[0] != '<' && BYTE(name[0]) != 0xFF)
            << "control " << GetDlgCtrlID(item) << " is read out as \"" << name << "\"";
    }
    if (program != nullptr) {
        EXPECT_EQ(ReaderName(GetDlgItem(window, IDC_PICTURE)), program->title);
    }
    CoUninitialize();
}

}  // namespace

void CheckScaled(const Program& program, HWND window, const ProgramCase* launcher) {
    ASSERT_TRUE(Ready(window)) << "the window is not shown";
    const int dpi = Dpi();
    const Screen* screen = std::find_if(std::begin(kScreens), std::end(kScreens), [&](const Screen& s) { return s.dpi == dpi; });
    ASSERT_NE(screen, std::end(kScreens)) << "no common screen known for " << dpi << " DPI";
    RECT area = {};
    GetWindowRect(window, &area);
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::cout << "[ MEASURED ] at " << dpi << " DPI the window \"" << Caption(window) << "\" is " << width << " x "
              << height << "\n";
    EXPECT_LE(width, screen->width);
    EXPECT_LE(height, screen->height - kTaskbar * dpi / 96) << "the window does not fit above the taskbar";
    CheckNames(window, launcher);
    if (launcher != nullptr) CheckPicture(program, window);
    CheckCommonControls(program);
}
