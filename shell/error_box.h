// error_box.h -- reports a failed Direct3D, D3DX or DirectMusic call in a message box.
#pragma once

#include "windows.h"

// Shows nothing for a result that is not negative; otherwise a box captioned "Error" naming
// the call (what) and the result, then returns so that the caller goes on.
void ErrorBox(HRESULT hr, const char* what);
