// geometry.cpp -- InitGeometry: the overlay quads, the world and the fonts.
#include "shell/geometry.h"

#include <cstring>

#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/error_box.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/world.h"

IDirect3DVertexBuffer8* g_pVB2D = nullptr;
CTextureFont* g_pFont8 = nullptr;
CTextureFont* g_pFont10 = nullptr;
CTextureFont* g_pFont14 = nullptr;

namespace {

const UINT kOverlayVertices = 96;
const UINT kQuadVertices = 64;

// One quad: its edges in screen pixels, depth, colour and texture edges.
struct Quad {
    float left, right, top, bottom, z;
    DWORD colour;
    float uLeft, uRight, vTop, vBottom;
};

// The 64 vertices of the overlay quads for a screen of W x H pixels.
void BuildOverlayQuads(int W, int H, SVertex2D quads[64]) {
    // Halves are whole pixels, taken before the conversion to float.
    const int hw = W / 2, hh = H / 2;
    const float w = float(W), h = float(H);
    const DWORD white = 0xFFFFFFFF, icon = 0xCCFFFFFF, picture = 0xEEFFFFFF;
    const float scopeHalf = w * 0.7f / 4.0f;
    const Quad table[16] = {
        {float(hw - 15), float(hw + 15), float(hh - 15), float(hh + 15), 0.1f, white, 0, 1, 0, 1},  // crosshair
        {-1.0f, w, -1.0f, h, 0.1f, white, -0.15f, 1.15f, 0, 1},                                      // scope
        {w * 0.625f, w, float(hh), h, 0.1f, white, 0, 1, 0, 1},                      // weapon, lower right
        {w * 0.65f, w * 0.85f, h * 0.65f, h * 0.85f, 0.2f, white, 0, 1, 0, 1},       // muzzle flash
        {0, 0, 10, 10, 0.2f, white, 0, 1, 0, 1},                                     // never drawn
        {10, 10, 20, 20, 0.2f, white, 0, 1, 0, 1},                                   // never drawn
        {10, 10, 20, 20, 0.1f, white, 0, 1, 0, 1},                                   // menu cursor
        {float(hw - 32), float(hw + 32), 8, 32, 0.1f, icon, 0, 0.33f, 0, 0.33f},     // HUD icons
        {float(hw - 171), float(hw - 43), 8, 32, 0.1f, icon, 0.33f, 1, 0.66f, 1},
        {float(hw + 43), float(hw + 171), 8, 32, 0.1f, icon, 0.33f, 1, 0, 0.33f},
        {float(hw + 68), float(hw + 196), float(H - 32), float(H - 8), 0.1f, icon, 0.33f, 1, 0.33f, 0.66f},
        {float(hw - 132), float(hw - 68), float(H - 32), float(H - 8), 0.1f, icon, 0, 0.33f, 0.33f, 0.66f},
        {0, 0, 0, 0, 0.1f, icon, 0, 0.33f, 0.33f, 0.66f},                                           // never drawn
        {float(hw - 64), float(hw + 192), float(hh - 82), float(hh - 18), 0.1f, picture, 0, 1, 0, 1},   // shop
        {float(hw - 8), float(hw + 136), float(hh - 122), float(hh + 22), 0.1f, picture, 0, 1, 0, 1},   // portrait
        {float(hw) - scopeHalf, float(hw) + scopeHalf, float(hh), h, 0.1f, white, 0, 1, 0, 1},  // weapon, middle
    };
    for (int q = 0; q < 16; ++q) {
        const Quad& s = table[q];
        SVertex2D* v = quads + 4 * q;
        v[0] = {s.left, s.bottom, s.z, 1.0f, s.colour, s.uLeft, s.vBottom};
        v[1] = {s.left, s.top, s.z, 1.0f, s.colour, s.uLeft, s.vTop};
        v[2] = {s.right, s.bottom, s.z, 1.0f, s.colour, s.uRight, s.vBottom};
        v[3] = {s.right, s.top, s.z, 1.0f, s.colour, s.uRight, s.vTop};
    }
}

}  // namespace

HRESULT InitGeometry() {
    // Nothing can be made without the device.
    if (!g_pd3dDevice) return E_FAIL;
    HRESULT hr = g_pd3dDevice->CreateVertexBuffer(kOverlayVertices * sizeof(SVertex2D), D3DUSAGE_WRITEONLY,
                                                  D3DFVF_SVERTEX2D, D3DPOOL_DEFAULT, &g_pVB2D);
    ErrorBox(hr, "CreateVertexBuffer - g_pVB2D");
    if (FAILED(hr)) g_pVB2D = nullptr;

    g_pWorld = new CWorld(g_pd3dDevice, &g_Camera.vPos, &g_Timer);
    g_pWorld->iWidth = int(g_Config.dwWidth);
    g_pWorld->iHeight = int(g_Config.dwHeight);
    g_pWorld->dwFilter = g_Config.dwFilter;
    g_pWorld->dwMipFilter = g_Config.dwMipFilter;

    CTextureFont** fonts[3] = {&g_pFont8, &g_pFont10, &g_pFont14};
    const DWORD heights[3] = {8, 10, 14};
    for (int i = 0; i < 3; ++i) {
        *fonts[i] = new CTextureFont("Arial", heights[i], 0);
        (*fonts[i])->InitDeviceObjects(g_pd3dDevice);
        (*fonts[i])->RestoreDeviceObjects();
    }

    SVertex2D quads[kQuadVertices];
    BuildOverlayQuads(int(g_Config.dwWidth), int(g_Config.dwHeight), quads);
    // Without a buffer there is nothing to lock.
    if (!g_pVB2D) return E_FAIL;
    BYTE* data = nullptr;
    if (FAILED(g_pVB2D->Lock(0, sizeof quads, &data, 0)) || !data) return E_FAIL;
    std::memcpy(data, quads, sizeof quads);
    g_pVB2D->Unlock();

    std::memset(g_PrevKeys, 0, sizeof g_PrevKeys);
    std::memset(&g_PrevMouseState, 0, sizeof g_PrevMouseState);
    g_Timer.ResetStopwatch();
    return S_OK;
}
