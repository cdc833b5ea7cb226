// standin_frame.cpp -- stands in for the game's frame until the game exists: the world around the
// camera, looked at with the mouse, with the frames per second over it. Esc closes the window.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "d3dx8math.h"
#include "dinput.h"
#include "game/frame.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/world.h"

extern D3DXVECTOR3 g_vEye;
extern D3DXVECTOR3 g_vLookAt;
extern D3DXVECTOR3 g_vUp;

namespace {

DWORD FloatBits(float f) {
    DWORD bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

void LookAround() {
    g_Camera.fRoll = 0.0f;
    g_Camera.fYaw = g_MouseState.lX / 6.0f;
    g_Camera.fPitch = (g_Config.bInvertMouse ? -1.0f : 1.0f) * g_MouseState.lY / 6.0f;
    g_Camera.Update();
    float ground = (g_pWorld && g_pWorld->pMap) ? g_pWorld->pMap->GetHeight(g_Camera.vPos.x, g_Camera.vPos.y) : 0.0f;
    if (ground > 1000.0f) ground = 0.0f;  // outside any map
    g_Camera.vPos.z = ground + 0.25f;
    g_vEye = g_Camera.vPos;
    g_vLookAt = g_Camera.vPos + g_Camera.vLook;
    g_vUp = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
}

}  // namespace

void RenderFrame() {
    if (!g_pd3dDevice) return;
    g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000080FF, 1.0f, 0);
    g_pd3dDevice->BeginScene();
    if (g_Config.bFog) {
        g_pd3dDevice->SetRenderState(D3DRS_FOGENABLE, TRUE);
        g_pd3dDevice->SetRenderState(D3DRS_FOGCOLOR, 0xFF808080);
        g_pd3dDevice->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
        g_pd3dDevice->SetRenderState(D3DRS_FOGSTART, FloatBits(5.0f));
        g_pd3dDevice->SetRenderState(D3DRS_FOGEND, FloatBits(std::fabs(g_Camera.vPos.z) + 40.0f));
    }
    ReadInput();
    g_Timer.Update();
    if ((g_Keys[DIK_ESCAPE] & 0x80) && !(g_PrevKeys[DIK_ESCAPE] & 0x80)) PostMessageA(g_hWnd, WM_CLOSE, 0, 0);
    LookAround();
    SetupMatrices();
    if (g_pWorld) g_pWorld->Render();
    if (g_pFont8) {
        char text[64];
        std::snprintf(text, sizeof text, "FPS : %.02f", g_Timer.fFPS);
        g_pFont8->DrawText(3, 3, 0xFF000000, text, 0);
        g_pFont8->DrawText(2, 2, 0xFFFFFFFF, text, 0);
    }
    g_pd3dDevice->EndScene();
    g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}
