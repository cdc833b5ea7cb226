// devices.cpp -- sets up Direct3D and DirectInput from the settings, polls the input once a frame,
// sets the frame's matrices and releases everything at the end in a fixed order.
#include "shell/devices.h"

#include <cstring>
#include <new>

#include "d3dx8math.h"
#include "game/death_screen.h"
#include "game/game_database.h"
#include "game/player_movement.h"
#include "game/sound_object.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "world/world.h"

IDirect3D8* g_pD3D = nullptr;
IDirect3DDevice8* g_pd3dDevice = nullptr;
CSoundManager* g_pSoundManager = nullptr;
IDirectInput8A* g_pDI = nullptr;
IDirectInputDevice8A* g_pKeyboard = nullptr;
IDirectInputDevice8A* g_pMouse = nullptr;

float g_fAspect = 0.0f;
BYTE g_Keys[256];
BYTE g_PrevKeys[256];
DIMOUSESTATE2 g_MouseState;
DIMOUSESTATE2 g_PrevMouseState;


namespace {

D3DFORMAT BackBufferFormat(DWORD depth, const D3DDISPLAYMODE& mode) {
    switch (depth) {
        case 0: return mode.Format;  // D3DFMT_UNKNOWN, the desktop's format, when the mode was not read
        case 16: return D3DFMT_R5G6B5;
        case 32: return D3DFMT_X8R8G8B8;
        default: return D3DFMT_UNKNOWN;
    }
}

D3DMULTISAMPLE_TYPE MultiSampleType(DWORD setting) {
    switch (setting) {
        case 1: return D3DMULTISAMPLE_2_SAMPLES;
        case 2: return D3DMULTISAMPLE_4_SAMPLES;
        default: return D3DMULTISAMPLE_NONE;
    }
}

// Re-acquires a device until it answers anything but "input lost".
void AcquireAgain(IDirectInputDevice8A* device) {
    while (device->Acquire() == DIERR_INPUTLOST) {
    }
}

}  // namespace

HRESULT InitD3D(HWND hWnd) {
    g_pD3D = Direct3DCreate8(D3D_SDK_VERSION);
    if (!g_pD3D) return E_FAIL;
    g_fAspect = (float)g_Config.dwWidth / (float)g_Config.dwHeight;

    D3DDISPLAYMODE mode;
    std::memset(&mode, 0, sizeof mode);
    ErrorBox(g_pD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), "GetAdapterDisplayMode");
    if (g_Config.bFullscreen) SetWindowLongA(hWnd, GWL_STYLE, (LONG)(WS_POPUP | WS_VISIBLE | WS_SYSMENU));

    D3DPRESENT_PARAMETERS pp;
    std::memset(&pp, 0, sizeof pp);
    pp.BackBufferWidth = g_Config.dwWidth;
    pp.BackBufferHeight = g_Config.dwHeight;
    pp.BackBufferFormat = BackBufferFormat(g_Config.dwDepth, mode);
    pp.MultiSampleType = MultiSampleType(g_Config.dwMultiSample);
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.Windowed = g_Config.bFullscreen ? FALSE : TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    if (g_Config.bFullscreen)
        pp.FullScreen_PresentationInterval = g_Config.bVSync ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;

    const DWORD behaviour =
        g_Config.bHardwareTL ? D3DCREATE_HARDWARE_VERTEXPROCESSING : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    HRESULT hr = g_pD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, hWnd, behaviour, &pp, &g_pd3dDevice);
    ErrorBox(hr, "CreateDevice");
    if (FAILED(hr)) return hr;

    g_pd3dDevice->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    g_pd3dDevice->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    g_pSoundManager = new (std::nothrow) CSoundManager(hWnd);
    return S_OK;
}

HRESULT InitDirectInput(HWND hWnd) {
    HRESULT hr = DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                    reinterpret_cast<void**>(&g_pDI), nullptr);
    if (FAILED(hr)) return hr;

    hr = g_pDI->CreateDevice(GUID_SysKeyboard, &g_pKeyboard, nullptr);
    if (FAILED(hr)) return hr;
    hr = g_pKeyboard->SetDataFormat(&c_dfDIKeyboard);
    if (FAILED(hr)) return hr;
    g_pKeyboard->SetCooperativeLevel(hWnd, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    g_pKeyboard->Acquire();

    hr = g_pDI->CreateDevice(GUID_SysMouse, &g_pMouse, nullptr);
    if (FAILED(hr)) return hr;
    hr = g_pMouse->SetDataFormat(&c_dfDIMouse2);
    if (FAILED(hr)) return hr;
    g_pMouse->SetCooperativeLevel(hWnd, DISCL_EXCLUSIVE | DISCL_FOREGROUND);
    g_pMouse->Acquire();
    return S_OK;
}

int ReadInput() {
    if (!g_pKeyboard) return 0;
    std::memcpy(g_PrevKeys, g_Keys, sizeof g_Keys);
    std::memset(g_Keys, 0, sizeof g_Keys);
    if (FAILED(g_pKeyboard->GetDeviceState(sizeof g_Keys, g_Keys))) {
        AcquireAgain(g_pKeyboard);
        std::memset(g_Keys, 0, sizeof g_Keys);
        return 0;
    }
    g_szText[0] = '\0';
    if (g_pMouse) {
        g_PrevMouseState = g_MouseState;
        std::memset(&g_MouseState, 0, sizeof g_MouseState);
        if (FAILED(g_pMouse->GetDeviceState(sizeof g_MouseState, &g_MouseState))) {
            AcquireAgain(g_pMouse);
            std::memset(&g_MouseState, 0, sizeof g_MouseState);
        }
    }
    return 0;
}

void SetupMatrices() {
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    g_pd3dDevice->SetTransform(D3DTS_WORLD, &world);

    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &g_vEye, &g_vLookAt, &g_vUp);
    g_pd3dDevice->SetTransform(D3DTS_VIEW, &view);

    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, 3.1415927f / g_fZoom, (float)g_Config.dwWidth / (float)g_Config.dwHeight,
                               0.1f, 200.0f);
    g_pd3dDevice->SetTransform(D3DTS_PROJECTION, &projection);
}

void Cleanup() {
    if (g_pMouse) g_pMouse->Unacquire();
    if (g_pKeyboard) g_pKeyboard->Unacquire();
    delete g_pSoundManager;
    g_pSoundManager = nullptr;
    SAFE_RELEASE(g_pMouse);
    SAFE_RELEASE(g_pKeyboard);
    SAFE_RELEASE(g_pDI);
    delete g_pWorld;
    g_pWorld = nullptr;
    CTextureFont** fonts[] = {&g_pFont8, &g_pFont10, &g_pFont14};
    for (CTextureFont** font : fonts)
        if (*font) (*font)->DeleteDeviceObjects();
    for (CTextureFont** font : fonts) {
        delete *font;
        *font = nullptr;
    }
    SAFE_RELEASE(g_pVB2D);
    SAFE_RELEASE(g_pd3dDevice);
    SAFE_RELEASE(g_pD3D);
}
