// layer/resources.h -- the program's resources (dialog templates and icons), which a Windows
// program links in from its resource script and this program registers as tables at start-up.
#pragma once

#include <cstdint>

#include "../wintypes.h"

namespace layer {

// One control of a dialog template; positions are in dialog units. A null class name means static.
struct DialogItemResource {
    int id;  // -1 for items without an id of their own
    const char* className;  // "button", "static", "combobox", "msctls_trackbar32"
    const char* text;
    DWORD style;
    short x, y, cx, cy;
};

struct DialogResource {
    DWORD style;
    short cx, cy;
    const char* title;
    const char* fontFace;
    WORD fontPoints;
    const DialogItemResource* items;
    int itemCount;
};

// A square icon as rows of ARGB pixels, top row first.
struct IconResource {
    int width, height;
    const uint32_t* argb;
};

// Both keep the pointer: the resource must live for the whole run. True when the id was free.
bool AddDialogResource(int id, const DialogResource* dialog);
bool AddIconResource(int id, const IconResource* icon);
const DialogResource* FindDialogResource(int id);
const IconResource* FindIconResource(int id);

}  // namespace layer
