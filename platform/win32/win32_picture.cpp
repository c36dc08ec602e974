#include "win32_picture.h"
#include <cmath>

namespace {

// Calls act for each picture among the dialog's controls.
template <class Act> void ForEachPicture(HWND dialog, Act act) {
    for (HWND item = GetWindow(dialog, GW_CHILD); item != nullptr; item = GetWindow(item, GW_HWNDNEXT))
        if (IsPicture(item)) act(item);
}

// A 24-bit bitmap of the frame's size with the picture drawn into it; null when
// any step fails, and then the static keeps its own.
HBITMAP Fitted(HWND item, HBITMAP source) {
    BITMAP picture = {};
    RECT frame = {};
    if (GetObjectA(source, sizeof(picture), &picture) != sizeof(picture) || !GetClientRect(item, &frame)) return nullptr;
    const int width = frame.right, height = frame.bottom;
    if (width <= 0 || height <= 0 || picture.bmWidth <= 0 || picture.bmHeight <= 0) return nullptr;
    double scale = std::min(double(width) / picture.bmWidth, double(height) / picture.bmHeight);
    // Within 5 % of its frame the picture is drawn pixel for pixel, as at 100 %:
    // resampling it by a few percent would only blur it.
    if (std::fabs(scale - 1.0) < 0.05) scale = 1.0;
    const int drawnWidth = int(std::lround(picture.bmWidth * scale));
    const int drawnHeight = int(std::lround(picture.bmHeight * scale));

    // 24 bits: no alpha, so the version-6 static shows this very bitmap and
    // hands it back when it is replaced, for us to delete.
    const BITMAPINFO info = TrueColourBitmap(width, height);
    HDC screen = GetDC(item);
    if (screen == nullptr) return nullptr;
    void* bits = nullptr;
    HBITMAP fitted = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
    bool drawn = false;
    if (fitted != nullptr && from != nullptr && to != nullptr) {
        HGDIOBJ oldFrom = SelectObject(from, source), oldTo = SelectObject(to, fitted);
        // What the picture leaves of its frame takes its corner's colour, as the
        // old static control filled it.
        HBRUSH fill = CreateSolidBrush(GetPixel(from, 0, 0));
        if (fill != nullptr) {
            FillRect(to, &frame, fill);
            DeleteObject(fill);
            SetStretchBltMode(to, HALFTONE);
            SetBrushOrgEx(to, 0, 0, nullptr);
            drawn = StretchBlt(to, (width - drawnWidth) / 2, (height - drawnHeight) / 2, drawnWidth, drawnHeight, from,
                               0, 0, picture.bmWidth, picture.bmHeight, SRCCOPY) != FALSE;
        }
        SelectObject(from, oldFrom);
        SelectObject(to, oldTo);
    }
    if (to != nullptr) DeleteDC(to);
    if (from != nullptr) DeleteDC(from);
    ReleaseDC(item, screen);
    if (!drawn && fitted != nullptr) {
        DeleteObject(fitted);
        fitted = nullptr;
    }
    return fitted;
}

}  // namespace

bool IsPicture(HWND item) {
    return (SendMessageA(item, WM_GETDLGCODE, 0, 0) & DLGC_STATIC) != 0 &&
           (GetWindowLongA(item, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

void FitPictures(HWND dialog) {
    ForEachPicture(dialog, [](HWND item) {
        HBITMAP source = reinterpret_cast<HBITMAP>(SendMessageA(item, STM_GETIMAGE, IMAGE_BITMAP, 0));
        HBITMAP fitted = source != nullptr ? Fitted(item, source) : nullptr;
        if (fitted == nullptr) return;
        // The static loaded the resource's bitmap itself; once replaced it is ours to delete.
        HGDIOBJ old = reinterpret_cast<HGDIOBJ>(
            SendMessageA(item, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted)));
        if (old != nullptr && old != fitted) DeleteObject(old);
    });
}

void ReleasePictures(HWND dialog) {
    ForEachPicture(dialog, [](HWND item) {
        HGDIOBJ fitted = reinterpret_cast<HGDIOBJ>(SendMessageA(item, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (fitted != nullptr) DeleteObject(fitted);
    });
}
