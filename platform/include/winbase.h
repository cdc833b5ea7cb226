// winbase.h -- files, modules, debugger output and other kernel services of the layer.
#pragma once

#include "wintypes.h"

// The program's entry, which the shell defines and the layer's main calls.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
