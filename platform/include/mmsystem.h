// mmsystem.h -- the multimedia timer.
#pragma once

#include "wintypes.h"

// Milliseconds since the program started (not since boot). Valid before main.
DWORD timeGetTime(void);
