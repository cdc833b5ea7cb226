// intro.h -- the intro slide show: set-up, one frame per call, release.
#pragma once

#include "windows.h"

extern int g_iSndIntro;

// Always 0 once the intro's pictures and music are loaded.
int InitIntro();
// True while the intro goes on; false when it has ended or was skipped.
bool RenderIntroFrame();
void FreeIntro();
