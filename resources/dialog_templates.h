// The dialog templates as data, for the simulated Windows and the tests.
#pragma once
#include <cstddef>
#include <cstdint>

struct ControlTemplate {
    int id;
    const char* windowClass;
    const char* text;  // empty when set at run time
    int image;         // the bitmap shown by a picture control, else 0
    uint32_t style;
    int x, y, width, height;
    uint32_t exStyle;
};

struct DialogTemplate {
    unsigned int id;
    int width, height;
    uint32_t style;
    uint32_t exStyle;
    const ControlTemplate* controls;
    size_t controlCount;
};

// The template of a dialog number, or null.
const DialogTemplate* FindDialogTemplate(unsigned int id);
