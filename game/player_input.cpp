// player_input.cpp -- ProcessInput: mouse look, weapon keys, the scope, movement impulses, the
// target text, the menu cursor, and the keys that switch between play, the menus and the shop.
#include "game/player_input.h"

#include <cstdio>
#include <cstring>

#include "d3dx8.h"
#include "game/enemy.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/input_state.h"
#include "game/sound_object.h"
#include "game/weapons.h"
#include "shell/camera.h"
#include "shell/settings.h"
#include "world/world.h"

namespace {

const int kSniperRifle = 4;
const float kStep = 0.005f;  // a held movement key's impulse per frame
const DWORD kZoomSoundFlags = 0x4080;  // DMUS_SEGF_SECONDARY | DMUS_SEGF_DEFAULT

// The turn impulses from the mouse, slower by the zoom.
void LookWithMouse() {
    const float f = float(int(g_Config.dwSensitivity * 8 + 500)) / 1000.0f;
    g_fYaw += f * (float(g_MouseState.lX) / (g_fZoom * 6.0f));
    const float pitch = f * (float(g_MouseState.lY) / (g_fZoom * 6.0f));
    if (g_Config.bInvertMouse == 0)
        g_fPitch += pitch;
    else
        g_fPitch -= pitch;
}

// Keys 1 to 6 while held: of several, the highest owned weapon ends in hand.
void ChooseWeapon() {
    for (int i = 0; i < WEAPON_COUNT; ++i) {
        if (KeyHeld(BYTE(DIK_1 + i)) && g_Inventory[i].bOwned) {
            g_iCurrentWeapon = i;
            g_fZoom = 4.0f;
            UpdateMuzzleFlashQuad();
        }
    }
}

// The sniper rifle's scope: 4, 12, 32 and back to 4 on each press of the right button.
void CycleScope() {
    if (!ButtonPressed(1) || g_iCurrentWeapon != kSniperRifle) return;
    if (g_fZoom == 4.0f)
        g_fZoom = 12.0f;
    else if (g_fZoom == 12.0f)
        g_fZoom = 32.0f;
    else
        g_fZoom = 4.0f;
    g_pSoundManager->PlaySegment(g_iSndZoom, 0, kZoomSoundFlags);
}

void Walk() {
    if (KeyHeld(DIK_W) || KeyHeld(DIK_UP)) g_fForward += kStep;
    if (KeyHeld(DIK_S) || KeyHeld(DIK_DOWN)) g_fForward -= kStep;
    if (KeyHeld(DIK_A) || KeyHeld(DIK_LEFT)) g_fStrafe += kStep;
    if (KeyHeld(DIK_D) || KeyHeld(DIK_RIGHT)) g_fStrafe -= kStep;
}

// One "TARGET: " line for every active enemy on the look axis, in slot order. A line that no
// longer fits in the text is left out with all after it.
void BuildTargetText() {
    g_szTargetText[0] = '\0';
    size_t used = 0;
    for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
        const SSprite& enemy = g_pEnemies->sprites[i];
        if (!enemy.bActive) continue;
        if (!D3DXSphereBoundProbe(&enemy.vPos, 0.2f, &g_Camera.vPos, &g_Camera.vLook)) continue;
        std::snprintf(g_szNumber, sizeof g_szNumber, "(%1d)", int(enemy.fHealth));
        char line[sizeof g_szTargetText];
        const int length = std::snprintf(line, sizeof line, "TARGET: %s%s\n", enemy.szName, g_szNumber);
        if (length < 0 || used + size_t(length) >= sizeof g_szTargetText) break;
        std::memcpy(g_szTargetText + used, line, size_t(length) + 1);
        used += size_t(length);
    }
}

// Outside play the mouse moves the menu cursor over the screen, edges included.
void MoveCursor() {
    const INT width = INT(g_Config.dwWidth), height = INT(g_Config.dwHeight);
    g_ptCursor.x += g_MouseState.lX;
    g_ptCursor.y += g_MouseState.lY;
    if (g_ptCursor.x < 0) g_ptCursor.x = 0;
    if (g_ptCursor.x > width) g_ptCursor.x = width;
    if (g_ptCursor.y < 0) g_ptCursor.y = 0;
    if (g_ptCursor.y > height) g_ptCursor.y = height;
}

// An ammunition pack for the weapon in hand, when affordable; never for the chainsaw.
void BuyAmmunition() {
    if (g_iCurrentWeapon == 0) return;
    const SWeapon& weapon = g_Weapons[g_iCurrentWeapon];
    if (weapon.iPackPrice > g_iMoney) return;
    g_Inventory[g_iCurrentWeapon].iAmmo += weapon.iPackRounds;
    g_iMoney -= weapon.iPackPrice;
}

void SwitchState(int state, bool pause) {
    if (pause)
        g_pWorld->Pause();
    else
        g_pWorld->Resume();
    g_iGameState = state;
}

}  // namespace

void ProcessInput() {
    if (g_iGameState == GS_PLAYING) {
        LookWithMouse();
        ChooseWeapon();
        CycleScope();
        Walk();
        BuildTargetText();
        FireWeapon();
    } else {
        MoveCursor();
    }

    if (KeyPressed(DIK_P)) {
        if (g_pWorld->bPaused)
            SwitchState(GS_PLAYING, false);
        else
            SwitchState(GS_MAINMENU, true);
    }
    if (KeyPressed(DIK_B)) SwitchState(GS_SHOP, true);
    if (KeyPressed(DIK_N)) BuyAmmunition();
    if (KeyPressed(DIK_ESCAPE)) SwitchState(GS_MAINMENU, true);
}
