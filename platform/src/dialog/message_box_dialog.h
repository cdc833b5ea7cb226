// message_box_dialog.h -- a message box shown as one of the layer's own dialogs.
#pragma once

#include "winuser.h"

namespace dlghost {

// Shows the box of the MessageBoxA arguments until it is answered (by a person, or by the test
// script when one is set) and gives the chosen button's id; 0 when no box could be shown.
int RunMessageBox(const char* text, const char* caption, UINT type);

}  // namespace dlghost
