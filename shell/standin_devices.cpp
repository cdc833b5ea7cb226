// standin_devices.cpp -- stands in for the device module until it exists: no drawing, no input.
#include "game/sound_object.h"
#include "shell/devices.h"

CSoundManager* g_pSoundManager = nullptr;
float g_fAspect = 0.0f;
BYTE g_Keys[256];
BYTE g_PrevKeys[256];

HRESULT InitD3D(HWND hWnd) {
    if (!hWnd) return E_FAIL;
    g_pSoundManager = new CSoundManager(hWnd);
    return S_OK;
}

HRESULT InitDirectInput(HWND) { return S_OK; }

int ReadInput() { return 0; }

void SetupMatrices() {}

void Cleanup() {
    delete g_pSoundManager;
    g_pSoundManager = nullptr;
}
