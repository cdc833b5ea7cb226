// hud.cpp -- the HUD block of a playing frame in its fixed order: flash, crosshair or scope, weapon,
// spawning, ammunition hint, target text, panels and counters, death check.
#include "game/hud.h"

#include <cstdio>
#include <cstring>

#include "game/enemy.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/input_state.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/texture_manager.h"
#include "world/world.h"

namespace {

// First vertices of the overlay quads used here.
const UINT kCrosshairQuad = 0, kScopeQuad = 4, kWeaponRightQuad = 8, kFlashQuad = 12, kWeaponMiddleQuad = 60;
const UINT kPanelQuads[] = {28, 32, 36, 40, 44};
const UINT kAmmoPanelQuad = 40;
const int kChainsaw = 0, kPistol = 1, kShotgun = 2, kRifle = 3, kSniperRifle = 4, kFlamethrower = 5;

const char* const kAmmoHint = "Stiskni 'N' pro nakup naboju";

int ScreenWidth() { return int(g_Config.dwWidth); }
int ScreenHeight() { return int(g_Config.dwHeight); }

bool Zoomed() { return g_fZoom != 4.0f; }

void UseOverlayStream() {
    g_pd3dDevice->SetStreamSource(0, g_pVB2D, sizeof(SVertex2D));
    g_pd3dDevice->SetVertexShader(D3DFVF_SVERTEX2D);
}

// Nothing is drawn from an overlay buffer that was never made.
void DrawQuad(UINT firstVertex, int textureSlot) {
    if (!g_pVB2D) return;
    g_pWorld->pTextureManager->SetTexture(textureSlot);
    g_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, firstVertex, 2);
}

// Two flashed frames per shot; none for the chainsaw and the flamethrower, nor through the scope.
void DrawMuzzleFlash() {
    if (g_iMuzzleFlash < 1) return;
    if (!Zoomed() && g_iCurrentWeapon != kChainsaw && g_iCurrentWeapon != kFlamethrower)
        DrawQuad(kFlashQuad, g_iTexExp);
    g_iMuzzleFlash -= 1;
}

void DrawCrosshair() {
    switch (g_iCurrentWeapon) {
        case kPistol:
        case kRifle: DrawQuad(kCrosshairQuad, g_iTexCross); break;
        case kShotgun:
        case kFlamethrower: DrawQuad(kCrosshairQuad, g_iTexCircle); break;
        case kSniperRifle:
            if (Zoomed()) DrawQuad(kScopeQuad, g_iTexAwmLook);
            break;
        default: break;
    }
}

void DrawWeapon() {
    if (Zoomed()) return;
    const int w = g_iCurrentWeapon;
    if (w == kChainsaw) {
        const bool running = ButtonHeld(0) || KeyHeld(DIK_SPACE);
        DrawQuad(kWeaponMiddleQuad, running ? g_iTexMotor2 : g_Weapons[w].iTexture);
    } else if (w == kShotgun) {
        DrawQuad(kWeaponMiddleQuad, g_Weapons[w].iTexture);
    } else {
        DrawQuad(kWeaponRightQuad, g_Weapons[w].iTexture);
    }
}

// A new enemy of a random type on the record AddRandomSprite placed.
void SetUpEnemy(SSprite& enemy) {
    const int t = RandomInt(g_GameDB.iTypeCount);
    const SEnemyType& type = EnemyType(t);
    enemy.iType = t;
    enemy.iTexture = type.iTexture;
    enemy.fHealth = 100.0f;
    std::memcpy(enemy.szName, type.szName, sizeof enemy.szName);
    enemy.szName[sizeof enemy.szName - 1] = '\0';
    enemy.dwFlags = type.dwFlags;
    if (HasFlags(&enemy.dwFlags, ETF_FALLING)) {
        enemy.vPos.z += 60.0f;
        enemy.vVelocity = D3DXVECTOR3(0.0f, 0.0f, -3.0f);
    }
}

// The spawn interval starts at 4 s and shrinks by a second every 300 s of play; a full set loses
// the attempt but still restarts the clock.
void RunSpawnClock() {
    const float dt = g_Timer.fFrameTime / 1000.0f;
    g_fGameTime += dt;
    g_fSpawnTimer += dt;
    if (!(g_fSpawnTimer > 4.0 - g_fGameTime / 300.0)) return;
    g_fSpawnTimer = 0.0f;
    const int slot = g_pEnemies->AddRandomSprite();
    if (slot != -1) SetUpEnemy(g_pEnemies->sprites[slot]);
}

// A text centred on the screen's width with its shadow one pixel up and left.
void DrawCentredWithShadow(const char* text, int y, DWORD shadow, DWORD colour, int shadowY) {
    SIZE size = {0, 0};
    g_pFont8->GetTextExtent(text, &size);
    const int x = ScreenWidth() / 2 - int(size.cx) / 2;
    g_pFont8->DrawText(float(x - 1), float(shadowY), shadow, text, 0);
    g_pFont8->DrawText(float(x), float(y), colour, text, 0);
}

void DrawCounter(int value, int x, float y, DWORD colour) {
    std::snprintf(g_szNumber, sizeof g_szNumber, "%d", value);
    g_pFont->DrawText(float(x), y, colour, g_szNumber, 0);
}

// A player without health loses a life and looks from the centre of the map at the place of death.
void CheckDeath() {
    if (g_iHealth >= 1) return;
    g_iLives -= 1;
    const CMap* map = g_pWorld->pMap;
    const D3DXVECTOR3 centre(float(map->iCellsX * 10) / 2.0f, float(map->iCellsY * 10) / 2.0f, 2.0f);
    g_Camera.vLook = g_Camera.vPos - centre;
    g_Camera.vPos = centre;
    g_iGameState = GS_DEATH;
}

}  // namespace

void DrawHudPanels() {
    g_pd3dDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_pd3dDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    UseOverlayStream();
    for (UINT quad : kPanelQuads)
        if (quad != kAmmoPanelQuad || g_iCurrentWeapon != kChainsaw) DrawQuad(quad, g_iTexHudIcons);

    const int half = ScreenWidth() / 2;
    const float bottom = float(ScreenHeight()) - 20.0f - 11.0f;
    const DWORD white = 0xC8FFFFFF, red = 0xC8FF0000;
    DrawCounter(g_iScore, half - 164, 9.0f, white);
    DrawCounter(g_iKills, half - 12, 9.0f, white);
    DrawCounter(g_iMoney, half + 63, 9.0f, white);
    DrawCounter(g_iHealth, half - 110, bottom, g_iHealth <= 20 ? red : white);
    if (g_iCurrentWeapon != kChainsaw) DrawCounter(g_Inventory[g_iCurrentWeapon].iAmmo, half + 86, bottom, white);
}

void RenderHud() {
    UseOverlayStream();
    g_pd3dDevice->SetRenderState(D3DRS_ALPHAREF, 4);
    DrawMuzzleFlash();
    DrawCrosshair();
    DrawWeapon();
    RunSpawnClock();

    const int halfHeight = ScreenHeight() / 2;
    if (g_iCurrentWeapon != kChainsaw && g_Inventory[g_iCurrentWeapon].iAmmo == 0)
        DrawCentredWithShadow(kAmmoHint, halfHeight - 30, 0xFF000000, 0xFA50FF50, halfHeight - 31);
    DrawCentredWithShadow(g_szTargetText, halfHeight + 30, 0xFA000000, 0xFAFFFF00, halfHeight + 29);

    DrawHudPanels();
    CheckDeath();
}
