// standin_game_loading.cpp -- stands in for game loading until the game exists: the terrain and the
// sky, with the camera in the middle of the map and the world running.
#include "game/game_loading.h"

#include "shell/camera.h"
#include "world/terrain.h"
#include "world/world.h"

HRESULT LoadGameData() {
    if (!g_pWorld) return E_FAIL;
    g_pWorld->LoadMap("teren.ter");
    // Upright, then pitched down to the horizontal, as a new game starts.
    g_Camera.vPos = D3DXVECTOR3(60.0f, 60.0f, 0.0f);
    g_Camera.vLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    g_Camera.vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    g_Camera.vRight = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    g_Camera.fRoll = g_Camera.fYaw = 0.0f;
    g_Camera.fPitch = 90.0f;
    g_Camera.Update();
    g_pWorld->Resume();
    return S_OK;
}

void FreeGameData() {}
