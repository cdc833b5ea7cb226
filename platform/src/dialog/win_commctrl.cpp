// win_commctrl.cpp -- the common controls live in the dialog manager, always ready.
#include "commctrl.h"

void InitCommonControls(void) {}
