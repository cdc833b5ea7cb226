// combat.cpp -- damage to enemies and to the player, kills and their rewards, and the blood drops
// all three spray.
#include "game/combat.h"

#include <climits>
#include <cstdlib>

#include "game/enemy.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/particles.h"
#include "game/sound_object.h"
#include "shell/camera.h"
#include "shell/helpers.h"

namespace {

const float kKillSoundDistance = 18.0f;
const float kBlastRadius = 8.0f;
const DWORD kQueuedSound = 0x100;  // DMUS_SEGF_QUEUE

enum class DropSize { Kill, Hit };

// `count` drops of blood from `source`, each on its own random arc; drops beyond a full blood set
// are skipped.
void SprayBlood(int count, const D3DXVECTOR3& source, DropSize size) {
    for (int n = 0; n < count; ++n) {
        const int slot = g_pBlood->AddRandomSprite();
        if (slot == -1) continue;
        SSprite& drop = g_pBlood->sprites[slot];
        drop.iTexture = g_iTexBlood;
        drop.vPos = source;
        drop.fLifetime = 1.0f;
        const int vx = rand() - 16000;
        const int vy = rand() - 16000;
        const int vz = rand() - 16000;
        drop.vVelocity = D3DXVECTOR3(float(vx), float(vy), float(vz));
        for (SVertex3D& corner : drop.vertices) corner.dwColor = 0xE0FFFFFF;
        const float half = size == DropSize::Kill ? 0.2f * (float(RandomInt(100)) / 100.0f)
                                                  : 0.1f * (float(RandomInt(60)) / 120.0f + 0.2f);
        drop.vertices[0].vPos = D3DXVECTOR3(0.0f, -half, -half);
        drop.vertices[1].vPos = D3DXVECTOR3(0.0f, -half, half);
        drop.vertices[2].vPos = D3DXVECTOR3(0.0f, half, -half);
        drop.vertices[3].vPos = D3DXVECTOR3(0.0f, half, half);
        D3DXVec3Normalize(&drop.vVelocity, &drop.vVelocity);
    }
}

bool IsEnemySlot(int slot) { return slot >= 0 && slot < CSpriteSet::MAX_SPRITES; }

}  // namespace

void KillEnemy(int slot, bool byPlayer) {
    if (!IsEnemySlot(slot)) return;
    const SSprite& enemy = g_pEnemies->sprites[slot];
    if (!enemy.bActive) return;
    SprayBlood(8, enemy.vPos, DropSize::Kill);
    if (Distance(&g_Camera.vPos, &enemy.vPos) < kKillSoundDistance)
        g_pSoundManager->PlaySegment(g_iSndKill[RandomInt(3)], 0, 0);
    if (byPlayer) {
        const int reward = EnemyType(enemy.iType).iReward;
        g_iMoney += reward;
        g_iScore += reward;
        g_iKills += 1;
        if (reward < 1)
            g_pSoundManager->PlaySegment(g_iSndHosDown, 0, kQueuedSound);
        else if (RandomInt(3) == 0)
            g_pSoundManager->PlaySegment(g_iSndEnemyDown, 0, kQueuedSound);
    }
    g_pEnemies->RemoveSprite(slot);
}

void DamageEnemy(int slot, float damage, bool byPlayer) {
    if (!IsEnemySlot(slot)) return;
    SSprite& enemy = g_pEnemies->sprites[slot];
    // ceil(0.4 x damage) drops, damage counted up to 20.
    const float counted = damage > 20.0f ? 20.0f : damage;
    int drops = 0;
    while (float(drops) < counted * 4.0f / 10.0f) ++drops;
    SprayBlood(drops, enemy.vPos, DropSize::Hit);
    if (byPlayer) g_iScore += 3;
    enemy.fHealth -= damage;
    if (enemy.fHealth <= 0.0f) KillEnemy(slot, byPlayer);
}

void DamagePlayer(int damage) {
    SprayBlood(4, g_Camera.vPos, DropSize::Hit);
    if (damage <= 0) return;
    // Health that is already far below 0 (the world runs on behind the death screen) stops at
    // the int's limit rather than wrapping round to full.
    g_iHealth = g_iHealth < INT_MIN + damage ? INT_MIN : g_iHealth - damage;
}

void BlastDamage(D3DXVECTOR3 centre, float playerDistance, float damage) {
    if (playerDistance < kBlastRadius)
        DamagePlayer(TruncateDamage((kBlastRadius - playerDistance) / kBlastRadius * damage));
    for (int j = 0; j < CSpriteSet::MAX_SPRITES; ++j) {
        const SSprite& enemy = g_pEnemies->sprites[j];
        if (!enemy.bActive) continue;
        const float distance = Distance(&enemy.vPos, &centre);
        if (distance < kBlastRadius) DamageEnemy(j, (kBlastRadius - distance) / kBlastRadius * damage, false);
    }
}

int TruncateDamage(float damage) {
    if (!(damage == damage)) return 0;
    if (damage >= 2147483648.0f) return INT_MAX;  // 2^31
    if (damage < -2147483648.0f) return INT_MIN;
    return static_cast<int>(damage);
}
