// windowsx.h -- the message crackers a window procedure reads mouse coordinates with.
#pragma once

#include "wintypes.h"

// Client coordinates of a mouse message: signed, so that a point left of or above the client
// area (while the mouse is captured) stays negative.
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
