// commctrl.h -- the common controls: the trackbar of the settings dialog.
#pragma once

#include "wintypes.h"

// The common controls are part of the layer's dialog manager; nothing needs loading.
void InitCommonControls(void);
