// error_box.h -- reports a failed Direct3D, D3DX or DirectMusic call in a message box.
#pragma once

#include "windows.h"

// Shows nothing for a result that is not negative; otherwise a box captioned "Error" naming
// the call (what) and the result, then returns so that the caller goes on.
void ErrorBox(HRESULT hr, const char* what);
// The same for a failure that could repeat every frame: the box shows the first time a text
// fails in the run, and later failures under that text pass quietly.
void ErrorBoxOnce(HRESULT hr, const char* what);
// Lets every text be reported once more, as at the start of a run.
void ForgetReportedErrors();
