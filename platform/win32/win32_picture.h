// The pictures of a dialog (image statics) drawn to fit their frames, so that a
// picture grows with a window that the display scale makes larger.
#pragma once
#include <windows.h>

// The header of a 24-bit bottom-up DIB: no alpha, rows padded to 4 bytes.
inline BITMAPINFO TrueColourBitmap(int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// True for a static control that shows a bitmap.
bool IsPicture(HWND item);
// Each picture of the dialog replaced by one of its frame's size: the bitmap
// scaled to the frame with its proportions kept, what it leaves filled with its
// corner's colour. Called as the dialog is made, before it is shown.
void FitPictures(HWND dialog);
// The bitmaps that FitPictures made, deleted as the dialog goes.
void ReleasePictures(HWND dialog);
