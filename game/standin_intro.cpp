// standin_intro.cpp -- stands in for the intro until it exists: an intro that ends at once.
#include "game/intro.h"

int g_iSndIntro = -1;

int InitIntro() { return 0; }

bool RenderIntroFrame() { return false; }

void FreeIntro() {}
