// devices.h -- the graphics device, the input devices and the sound object for the whole run, the
// per-frame input buffers and the frame's world, view and projection matrices.
#pragma once

#include "d3d8.h"
#include "dinput.h"
#include "windows.h"

class CSoundManager;

extern IDirect3D8* g_pD3D;
extern IDirect3DDevice8* g_pd3dDevice;  // the one device, used by every drawing part
extern CSoundManager* g_pSoundManager;
extern IDirectInput8A* g_pDI;
extern IDirectInputDevice8A* g_pKeyboard;
extern IDirectInputDevice8A* g_pMouse;

extern float g_fAspect;  // width / height of the settings
// This frame's and the previous frame's keyboard (by DIK_ code) and mouse. A key or button is held
// when bit 0x80 is set; it has a press edge when set now and clear in the previous frame's buffer.
extern BYTE g_Keys[256];
extern BYTE g_PrevKeys[256];
extern DIMOUSESTATE2 g_MouseState;
extern DIMOUSESTATE2 g_PrevMouseState;

// Direct3D from the settings, then the sound object; a failure when Direct3D or the device failed.
HRESULT InitD3D(HWND hWnd);
// DirectInput with the system keyboard and mouse; the failure of the first call that failed.
HRESULT InitDirectInput(HWND hWnd);
// Polls the keyboard and the mouse into the input buffers; always 0.
int ReadInput();
// World identity, the view from g_vEye to g_vLookAt, the projection by g_fZoom.
void SetupMatrices();
// Releases everything the devices and the geometry set-up made, whatever exists.
void Cleanup();
