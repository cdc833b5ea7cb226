// devices.h -- the graphics device, the input devices and the per-frame input and matrices.
#pragma once

#include "windows.h"

class CSoundManager;

extern CSoundManager* g_pSoundManager;
extern float g_fAspect;
extern BYTE g_Keys[256];
extern BYTE g_PrevKeys[256];

// Direct3D from the settings, then the sound object; a failure when Direct3D or the device failed.
HRESULT InitD3D(HWND hWnd);
// DirectInput with the system keyboard and mouse; the failure of the first call that failed.
HRESULT InitDirectInput(HWND hWnd);
// Polls the keyboard and the mouse into the input buffers; always 0.
int ReadInput();
void SetupMatrices();
// Releases everything the devices and the geometry set-up made, whatever exists.
void Cleanup();
