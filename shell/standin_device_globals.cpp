// standin_device_globals.cpp -- stands in for the device module's device pointer and previous
// mouse state until that module exists.
#include "d3d8.h"
#include "dinput.h"

IDirect3DDevice8* g_pd3dDevice = nullptr;
DIMOUSESTATE2 g_PrevMouseState;
