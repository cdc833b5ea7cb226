// d3d8_direct3d.cpp -- Direct3DCreate8 and the IDirect3D8 object.
#include "d3d8.h"

IDirect3D8* WINAPI Direct3DCreate8(UINT) { return nullptr; }
