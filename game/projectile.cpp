// projectile.cpp -- the projectiles' flight at the player's eye, their impact on the ground (with
// a blast for explosive types) and their hit on the player.
#include "game/projectile.h"

#include "game/combat.h"
#include "game/explosion.h"
#include "game/game_database.h"
#include "game/sound_object.h"
#include "shell/helpers.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/world.h"

namespace {

const float kSpeed = 2.0f, kFastSpeed = 6.0f;  // units per second
const float kHomingTime = 200.0f;              // milliseconds of frame time that turn it fully to the eye
const float kImpactSoundDistance = 30.0f;
const DWORD kSecondary = 0x80;  // DMUS_SEGF_SECONDARY
const DWORD kImpactColour = 0xFFFF00FF;
const float kHitRadius = 0.25f;

}  // namespace

void CProjectileSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 8); }

void CProjectileSet::UpdateSprite(int index) {
    SSprite& shot = sprites[index];
    if (!bPaused) {
        const SEnemyType& type = EnemyType(shot.iType);
        const D3DXVECTOR3 eye = *pCameraPos;
        const float ms = pTimer->fFrameTime;

        D3DXVECTOR3 toEye = eye - shot.vPos;
        D3DXVec3Normalize(&toEye, &toEye);
        D3DXVec3Normalize(&shot.vVelocity, &shot.vVelocity);
        if (HasFlags(&type.dwFlags, ETF_HOMING)) {
            shot.vVelocity += toEye * ms / kHomingTime;
            D3DXVec3Normalize(&shot.vVelocity, &shot.vVelocity);
        }
        if (HasFlags(&type.dwFlags, ETF_FAST))
            shot.vPos += shot.vVelocity * (ms / 1000.0f * kFastSpeed);
        else
            shot.vPos += shot.vVelocity * (kSpeed * ms / 1000.0f);

        // Both contacts are tested: an impact within reach of the eye hurts twice.
        if (pWorld->pMap->GetHeight(shot.vPos.x, shot.vPos.y) > shot.vPos.z) {
            if (HasFlags(&type.dwFlags, ETF_EXPLOSIVE)) {
                const float d = Distance(&eye, &shot.vPos);
                if (d < kImpactSoundDistance) g_pSoundManager->PlaySegment(g_iSndExplode, 0, kSecondary);
                SetOffExplosion(*this, shot.vPos, kImpactColour);
                BlastDamage(shot.vPos, d, type.fDamage);
            }
            RemoveSprite(index);
        }
        if (Distance(&shot.vPos, &eye) < kHitRadius) {
            DamagePlayer(RandomInt(TruncateDamage(type.fDamage)) + 1);
            RemoveSprite(index);
        }
    }
    matWorld._41 = shot.vPos.x;
    matWorld._42 = shot.vPos.y;
    matWorld._43 = shot.vPos.z;
}
