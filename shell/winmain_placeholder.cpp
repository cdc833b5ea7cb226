// winmain_placeholder.cpp -- the program does nothing yet.
#include "windows.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
