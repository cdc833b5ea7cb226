// weapons.cpp -- the muzzle-flash quad and the shot: ammunition, sound, flash, aim scatter, the
// flamethrower's flame and the hit tests against every enemy.
#include "game/weapons.h"

#include "d3dx8.h"
#include "game/combat.h"
#include "game/enemy.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/input_state.h"
#include "game/particles.h"
#include "game/sound_object.h"
#include "shell/camera.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"

namespace {

const int kChainsaw = 0, kShotgun = 2, kFlamethrower = 5;
const int kShotgunPellets = 24;
const DWORD kShotSoundFlags = 0x80;  // DMUS_SEGF_SECONDARY

int RoundsPerShot(int weapon) { return weapon == kShotgun ? 2 : 1; }

// Each axis of the aim moves by up to 0.5 / accuracy, drawn x, y, z.
void ScatterAim(D3DXVECTOR3* aim, float accuracy) {
    aim->x += float(RandomInt(1000) - 500) / (accuracy * 1000.0f);
    aim->y += float(RandomInt(1000) - 500) / (accuracy * 1000.0f);
    aim->z += float(RandomInt(1000) - 500) / (accuracy * 1000.0f);
}

// The flamethrower's flame: from just right of the eye along the scattered aim.
void AddFlame(const D3DXVECTOR3& aim) {
    const int slot = g_pFlames->AddRandomSprite();
    if (slot == -1) return;
    SSprite& flame = g_pFlames->sprites[slot];
    flame.iTexture = g_iTexFlame;
    flame.vPos = g_Camera.vPos + g_Camera.vRight / 100.0f;
    flame.vPos.z -= 0.01f;
    flame.fLifetime = 0.6f;
    flame.vVelocity = aim;
    D3DXVec3Normalize(&flame.vVelocity, &flame.vVelocity);
    const float corners[4][2] = {{-0.2f, -0.2f}, {-0.2f, 0.2f}, {0.2f, -0.2f}, {0.2f, 0.2f}};
    for (int k = 0; k < 4; ++k) flame.vertices[k].vPos = D3DXVECTOR3(0.0f, corners[k][0], corners[k][1]);
}

bool OnAim(const D3DXVECTOR3& centre, float radius, const D3DXVECTOR3& aim) {
    return D3DXSphereBoundProbe(&centre, radius, &g_Camera.vPos, &aim) != FALSE;
}

// The shot goes through: every active enemy on the aim is hit. The shotgun's 24 pellets each test
// the enemy again (a dead one too) and scatter anew after every hit.
void HitEnemies(int weapon, D3DXVECTOR3 aim) {
    const float damage = g_Weapons[weapon].fDamage;
    for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
        const SSprite& enemy = g_pEnemies->sprites[i];
        if (!enemy.bActive) continue;
        D3DXVec3Normalize(&aim, &aim);
        const D3DXVECTOR3 centre = enemy.vPos;
        const float distance = Distance(&g_Camera.vPos, &centre);
        switch (weapon) {
            case kChainsaw:
                if (OnAim(centre, 0.5f, aim) && distance < 1.0f) DamageEnemy(i, damage, true);
                break;
            case kShotgun:
                for (int k = 0; k < kShotgunPellets; ++k) {
                    if (!OnAim(centre, 0.2f, aim)) continue;
                    aim = g_Camera.vLook;
                    ScatterAim(&aim, g_Weapons[weapon].fAccuracy);
                    DamageEnemy(i, damage, true);
                }
                break;
            case kFlamethrower:
                if (OnAim(centre, 0.2f, aim) && distance < 8.0f) DamageEnemy(i, damage, true);
                break;
            default:
                if (OnAim(centre, 0.2f, aim)) DamageEnemy(i, damage, true);
                break;
        }
    }
}

}  // namespace

void UpdateMuzzleFlashQuad() {
    BYTE* data = nullptr;
    const HRESULT hr = g_pVB2D ? g_pVB2D->Lock(0, 0, &data, 0) : D3DERR_INVALIDCALL;
    if (FAILED(hr) || !data) {
        ErrorBoxOnce(FAILED(hr) ? hr : D3DERR_INVALIDCALL, "g_pVB2D->Lock");
        if (SUCCEEDED(hr)) g_pVB2D->Unlock();
        return;
    }
    const float W = float(g_Config.dwWidth), H = float(g_Config.dwHeight);
    const SWeapon& weapon = g_Weapons[g_iCurrentWeapon];
    const float cx = W * weapon.fFlashX, cy = H * weapon.fFlashY;
    const float halfW = 0.15f * W, halfH = 0.15f * H * g_fAspect;
    SVertex2D* quad = reinterpret_cast<SVertex2D*>(data) + 12;
    quad[0].x = cx - halfW;
    quad[0].y = cy + halfH;
    quad[1].x = cx - halfW;
    quad[1].y = cy - halfH;
    quad[2].x = cx + halfW;
    quad[2].y = cy + halfH;
    quad[3].x = cx + halfW;
    quad[3].y = cy - halfH;
    g_pVB2D->Unlock();
}

void FireWeapon() {
    const int w = g_iCurrentWeapon;
    SWeapon& weapon = g_Weapons[w];
    SInventoryEntry& entry = g_Inventory[w];
    weapon.fSinceShot += g_Timer.fFrameTime / 1000.0f;

    if (!KeyHeld(DIK_SPACE) && !ButtonHeld(0)) return;
    if (weapon.fSinceShot < weapon.fDelay) return;
    if (w != kChainsaw && !(entry.bOwned && entry.iAmmo >= RoundsPerShot(w))) return;

    if (w != kChainsaw) entry.iAmmo -= RoundsPerShot(w);
    g_pSoundManager->PlaySegment(weapon.iSound, 0, kShotSoundFlags);
    g_iMuzzleFlash = 2;
    weapon.fSinceShot = 0.0f;

    D3DXVECTOR3 aim = g_Camera.vLook;
    ScatterAim(&aim, weapon.fAccuracy);
    if (w == kFlamethrower) AddFlame(aim);
    HitEnemies(w, aim);
}
