// commctrl.h -- the common controls: the trackbar of the settings dialog.
#pragma once

#include "wintypes.h"
#include "winuser.h"

#define TRACKBAR_CLASSA "msctls_trackbar32"

// Trackbar styles.
#define TBS_AUTOTICKS 0x0001u
#define TBS_VERT 0x0002u
#define TBS_HORZ 0x0000u
#define TBS_TOP 0x0004u
#define TBS_BOTTOM 0x0000u
#define TBS_LEFT 0x0004u
#define TBS_RIGHT 0x0000u
#define TBS_BOTH 0x0008u
#define TBS_NOTICKS 0x0010u

// Trackbar messages.
#define TBM_GETPOS (WM_USER)
#define TBM_GETRANGEMIN (WM_USER + 1)
#define TBM_GETRANGEMAX (WM_USER + 2)
#define TBM_SETPOS (WM_USER + 5)
#define TBM_SETRANGE (WM_USER + 6)
#define TBM_SETRANGEMIN (WM_USER + 7)
#define TBM_SETRANGEMAX (WM_USER + 8)
#define TBM_SETPAGESIZE (WM_USER + 21)
#define TBM_GETPAGESIZE (WM_USER + 22)
#define TBM_SETLINESIZE (WM_USER + 23)
#define TBM_GETLINESIZE (WM_USER + 24)

// The common controls are part of the layer's dialog manager; nothing needs loading.
void InitCommonControls(void);
