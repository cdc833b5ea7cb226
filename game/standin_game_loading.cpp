// standin_game_loading.cpp -- stands in for game loading until the game exists: the terrain and the
// sky, a set of the database's creatures standing about the map, the camera in the middle of the
// map and the world running.
#include "game/game_loading.h"

#include "game/game_database.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/timer.h"
#include "world/sprite_set.h"
#include "world/terrain.h"
#include "world/texture_manager.h"
#include "world/world.h"

namespace {

CSpriteSet* g_pStandinCreatures = nullptr;

// Upright, then pitched down to the horizontal, as a new game starts.
void PlaceCamera() {
    g_Camera.vPos = D3DXVECTOR3(60.0f, 60.0f, 0.0f);
    g_Camera.vLook = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    g_Camera.vUp = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    g_Camera.vRight = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    g_Camera.fRoll = g_Camera.fYaw = 0.0f;
    g_Camera.fPitch = 90.0f;
    g_Camera.Update();
}

void PlaceCreatures() {
    LoadGameDatabase();
    int slots[MAX_ENEMY_TYPES];
    int types = 0;
    for (int i = 0; i < g_GameDB.iTypeCount; ++i) {
        int slot = g_pWorld->pTextureManager->LoadTexture(g_GameDB.types[i].szTexture, 128, 128, 4, D3DFMT_UNKNOWN,
                                                          D3DXCOLOR(0xFFFF00FF));
        if (slot >= 0) slots[types++] = slot;
    }
    if (types == 0) return;
    g_pStandinCreatures = new CSpriteSet(g_pd3dDevice, g_pWorld, &g_Camera.vPos, &g_Timer, g_pWorld->pObjectManager);
    g_pStandinCreatures->bExpire = 0;
    g_pStandinCreatures->bCustomUpdate = 0;
    for (int n = 0; n < 40; ++n) {
        int index = g_pStandinCreatures->AddRandomSprite();
        if (index < 0) break;
        SSprite& sprite = g_pStandinCreatures->sprites[index];
        sprite.iTexture = slots[n % types];
        // Standing on the ground, a little taller than the eye.
        for (SVertex3D& corner : sprite.vertices) {
            corner.vPos.y *= 2.4f;
            corner.vPos.z = corner.vPos.z * 2.4f + 0.35f;
        }
    }
}

}  // namespace

HRESULT LoadGameData() {
    if (!g_pWorld) return E_FAIL;
    g_pWorld->LoadMap("teren.ter");
    PlaceCamera();
    PlaceCreatures();
    g_pWorld->Resume();
    return S_OK;
}

void FreeGameData() {
    delete g_pStandinCreatures;
    g_pStandinCreatures = nullptr;
}
