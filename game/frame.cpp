// frame.cpp -- RenderFrame, the fence and the frame's fog.
#include "game/frame.h"

#include <cstdio>
#include <cstring>

#include "game/death_screen.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/hud.h"
#include "game/menu.h"
#include "game/player_input.h"
#include "game/player_movement.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/texture_manager.h"
#include "world/vertex3d.h"
#include "world/world.h"

namespace {

// Float states go to the device as their bits.
DWORD FloatBits(float f) {
    DWORD bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// The fence band around the playing field; skipped when its buffer could not be made.
void DrawFence() {
    if (!g_pPlotVB) return;
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    g_pd3dDevice->SetTransform(D3DTS_WORLD, &identity);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_MIRROR);
    g_pd3dDevice->SetStreamSource(0, g_pPlotVB, sizeof(SVertex3D));
    g_pd3dDevice->SetVertexShader(D3DFVF_VERTEX3D);
    g_pWorld->pTextureManager->SetTexture(g_iTexPlot);
    g_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 8);
}

// The states of all 2D drawing for the rest of the frame.
void Set2DStates() {
    g_pd3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    g_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_pd3dDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    g_pd3dDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_BORDERCOLOR, 0);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    g_pd3dDevice->SetRenderState(D3DRS_ZENABLE, FALSE);
    g_pd3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
}

// The state is read once: a change made by input shows in this frame, one made by a screen in
// the next. Other values draw no screen.
void RenderScreen(int state) {
    switch (state) {
        case GS_PLAYING: RenderHud(); break;
        case GS_MAINMENU: RenderMainMenu(); break;
        case GS_SHOP: RenderShop(); break;
        case GS_DEATH: RenderDeathScreen(); break;
        case GS_REWARDS: RenderRewardList(); break;
        default: break;
    }
}

void DrawFrameRate() {
    char text[64];
    std::snprintf(text, sizeof text, "FPS : %.02f", g_Timer.fFPS);
    g_pFont8->DrawText(3, 3, 0xFF000000, text, 0);
    g_pFont8->DrawText(2, 2, 0xFFFFFFFF, text, 0);
}

}  // namespace

void SetFog(DWORD colour, DWORD mode) {
    g_pd3dDevice->SetRenderState(D3DRS_FOGENABLE, TRUE);
    g_pd3dDevice->SetRenderState(D3DRS_FOGCOLOR, colour);
    if (mode == D3DFOG_LINEAR) {
        g_pd3dDevice->SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
        g_pd3dDevice->SetRenderState(D3DRS_FOGSTART, FloatBits(5.0f));
        g_pd3dDevice->SetRenderState(D3DRS_FOGEND, FloatBits(FloatAbs(g_Camera.vPos.z) + 40.0f));
    } else {
        g_pd3dDevice->SetRenderState(D3DRS_FOGTABLEMODE, mode);
        g_pd3dDevice->SetRenderState(D3DRS_FOGDENSITY, FloatBits(0.04f));
    }
}

void RenderFrame() {
    if (!g_pd3dDevice) return;
    g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x000080FF, 1.0f, 0);
    g_pd3dDevice->BeginScene();
    if (g_Config.bFog) SetFog(0xFF808080, D3DFOG_LINEAR);
    ReadInput();
    g_Timer.Update();
    ProcessInput();
    UpdateCamera();
    SetupMatrices();
    g_pWorld->Render();
    DrawFence();
    Set2DStates();
    RenderScreen(g_iGameState);
    g_pd3dDevice->SetRenderState(D3DRS_ZENABLE, TRUE);
    g_pd3dDevice->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    DrawFrameRate();
    g_pd3dDevice->EndScene();
    g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
}
