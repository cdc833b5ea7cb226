// enemy.cpp -- the enemies' update: the rise out of the ground, rage and the self-destruct, the fall
// from the sky and its landing, sinking into the ground, and shooting at the player.
#include "game/enemy.h"

#include <cstring>

#include "game/combat.h"
#include "game/explosion.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/particles.h"
#include "game/projectile.h"
#include "game/sound_object.h"
#include "shell/helpers.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/world.h"

namespace {

const DWORD kSecondary = 0x80;  // DMUS_SEGF_SECONDARY: at once, over what plays
const DWORD kQueued = 0x100;    // DMUS_SEGF_QUEUE: after what plays

const float kRiseTime = 2.0f, kRiseDepth = 1.0f;

const float kRageStart = 10.0f, kRageRamp = 3.0f;
const int kRageDepth = 180;
const char kRageSuffix[] = " ZURI";
const float kBlowWarningAge = 17.0f, kBlowWarningDistance = 12.0f;
const float kSelfDestructAge = 20.0f, kSelfDestructSoundDistance = 40.0f;
const DWORD kSelfDestructColour = 0xFFFFFFFF;

const float kGroundOffset = 0.25f;
const float kFallWarningHeight = 20.0f, kFallWarningDistance = 20.0f;
const float kLandingSoundDistance = 25.0f, kLandingReach = 16.0f, kShakeScale = 0.3f;
const int kLandingPuffs = 12;
const float kLandingPuffLife = 2.0f;
const float kTrailInterval = 0.15f, kTrailTimerCap = 0.2f, kTrailPuffLife = 1.0f;

const float kSinkStart = 20.0f, kSinkSlowness = 10.0f, kSinkEnd = 25.0f;  // a tenth of a unit a second

const float kShotInterval = 8.0f, kCroakDistance = 8.0f;
const char kCroakingName[] = "TUMOSAR";  // its first seven characters are compared
const int kCroakingType = 7;
const float kShotLife = 12.0f, kShotHalfSize = 0.1f;
const DWORD kShotColour = 0xE0FFFFFF;

void Play(int slot, DWORD flags) { g_pSoundManager->PlaySegment(slot, 0, flags); }

// Appends the suffix once; a name too long to take it is cut so that the suffix still ends
// within the name's field.
void AppendRageSuffix(char (&name)[64]) {
    const size_t room = sizeof name - sizeof kRageSuffix;  // characters left before the suffix
    size_t length = strnlen(name, sizeof name - 1);
    if (length > room) length = room;
    std::memcpy(name + length, kRageSuffix, sizeof kRageSuffix);
}

// A puff at the enemy's place; a full dust set skips it. The velocity is drawn z, y, x.
void AddPuff(const SSprite& enemy, float lifetime, int zRange, float zShift, int xyRange, float xyShift) {
    const int slot = g_pDust->AddRandomSprite();
    if (slot == -1) return;
    SSprite& puff = g_pDust->sprites[slot];
    puff.iTexture = g_iTexDust;
    puff.vPos = enemy.vPos;
    puff.fLifetime = lifetime;
    puff.vVelocity.z = float(RandomInt(zRange)) / 100.0f - zShift;
    puff.vVelocity.y = float(RandomInt(xyRange)) / 100.0f - xyShift;
    puff.vVelocity.x = float(RandomInt(xyRange)) / 100.0f - xyShift;
}

// Reddens from 10 s to 13 s, takes the suffix, warns once after 17 s and blows up after 20 s.
// The warning's once-latch is the record's shared timer.
void Rage(CEnemySet& set, int i, const SEnemyType& type) {
    SSprite& enemy = set.sprites[i];
    float t = enemy.fAge - kRageStart;
    if (t > kRageRamp) t = kRageRamp;
    const int k = int(float(kRageDepth) * (t / kRageRamp));
    const DWORD fade = DWORD(255 - k) & 0xFF;
    for (SVertex3D& corner : enemy.vertices) corner.dwColor = 0xFFFF0000 | fade << 8 | fade;

    if (enemy.fLatch == 0.0f) {
        AppendRageSuffix(enemy.szName);
        enemy.fLatch = 1.0f;
    }
    const float d = Distance(set.pCameraPos, &enemy.vPos);
    if (enemy.fAge > kBlowWarningAge && enemy.fTimer == 0.0f) {
        if (d < kBlowWarningDistance) Play(g_iSndBlow, kQueued);
        enemy.fTimer = 1.0f;
    }
    if (enemy.fAge > kSelfDestructAge) {
        if (d < kSelfDestructSoundDistance) Play(g_iSndExplode, kSecondary);
        SetOffExplosion(set, enemy.vPos, kSelfDestructColour);
        KillEnemy(i, false);  // gone before the blast, which so spares it
        BlastDamage(enemy.vPos, d, type.fDamage);
    }
    set.bDirty = 1;
}

// Falls by its velocity with a trail of dust, warns once when low and near, and lands with a
// thud, a shake and damage near the player and a burst of dust. The trail's clock is the shared
// timer, the warning's latch the shared latch.
void Fall(CEnemySet& set, SSprite& enemy, const SEnemyType& type, float dt) {
    enemy.vPos += enemy.vVelocity * dt;
    const float ground = set.pWorld->pMap->GetHeight(enemy.vPos.x, enemy.vPos.y) + kGroundOffset;
    const D3DXVECTOR3 below(enemy.vPos.x, enemy.vPos.y, ground);
    const float dg = Distance(set.pCameraPos, &below);

    if (enemy.vPos.z < ground + kFallWarningHeight && enemy.fLatch == 0.0f && dg < kFallWarningDistance) {
        Play(g_iSndFallback, kQueued);
        enemy.fLatch = 1.0f;
    }
    if (enemy.vPos.z < ground) {
        if (dg < kLandingSoundDistance) Play(g_iSndZuch, kSecondary);
        enemy.vPos.z = ground;
        enemy.vVelocity = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        if (dg < kLandingReach) {
            const float nearness = (kLandingReach - dg) / kLandingReach;
            g_fShake = nearness * kShakeScale;
            DamagePlayer(TruncateDamage(nearness * type.fDamage));
        }
        for (int n = 0; n < kLandingPuffs; ++n) {
            AddPuff(enemy, kLandingPuffLife, 30, 0.0f, 100, 0.5f);
            enemy.fTimer = 0.0f;
        }
    }
    if (enemy.vVelocity.z != 0.0f) {
        if (enemy.fTimer >= kTrailInterval) {
            AddPuff(enemy, kTrailPuffLife, 50, 0.25f, 50, 0.25f);
            enemy.fTimer = 0.0f;
        } else if (enemy.fTimer < kTrailTimerCap) {
            enemy.fTimer += dt;
        }
    }
    set.bDirty = 1;
}

// Sinks from 20 s and is gone at 25 s, with no blood, sound or pay.
void Sink(CEnemySet& set, int i, float dt) {
    SSprite& enemy = set.sprites[i];
    if (enemy.fAge > kSinkStart) enemy.vPos.z -= dt / kSinkSlowness;
    if (enemy.fAge > kSinkEnd) set.RemoveSprite(i);
}

// A projectile at the player's eye whenever the shared timer passes 8 s; a full projectile set
// loses the shot, but the timer restarts and the croak still sounds.
void Shoot(CEnemySet& set, SSprite& enemy, const SEnemyType& type, float dt) {
    enemy.fTimer += dt;
    if (!(enemy.fTimer > kShotInterval)) return;
    const bool croaks = std::strncmp(enemy.szName, kCroakingName, 7) == 0 || enemy.iType == kCroakingType;
    if (croaks && Distance(set.pCameraPos, &enemy.vPos) < kCroakDistance) Play(g_iSndKrk, kSecondary);
    enemy.fTimer = 0.0f;

    const int slot = g_pProjectiles->AddRandomSprite();
    if (slot == -1) return;
    SSprite& shot = g_pProjectiles->sprites[slot];
    shot.iType = enemy.iType;
    shot.iTexture = type.iTexture2;
    shot.vPos = enemy.vPos;
    shot.fLifetime = kShotLife;
    const float h = kShotHalfSize;
    const D3DXVECTOR3 corners[4] = {{0.0f, -h, -h}, {0.0f, -h, h}, {0.0f, h, -h}, {0.0f, h, h}};
    for (int k = 0; k < 4; ++k) {
        shot.vertices[k].vPos = corners[k];
        shot.vertices[k].dwColor = kShotColour;
    }
    shot.vVelocity = *set.pCameraPos - shot.vPos;  // at the eye as it is now, not normalised
    shot.dwFlags = type.dwFlags;
}

}  // namespace

void CEnemySet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 64); }

void CEnemySet::UpdateSprite(int index) {
    SSprite& enemy = sprites[index];
    // Drawn one unit low at birth, rising to its place over two seconds; also while paused.
    float z = enemy.vPos.z;
    if (enemy.fAge < kRiseTime) z -= kRiseDepth * (1.0f - enemy.fAge / kRiseTime);
    matWorld._41 = enemy.vPos.x;
    matWorld._42 = enemy.vPos.y;
    matWorld._43 = z;
    if (bPaused) return;

    // Every behaviour of the type runs, in this order, even after an earlier one removed the
    // enemy: a raging shooter may still fire in the frame it blows up.
    const SEnemyType& type = EnemyType(enemy.iType);
    const float dt = pTimer->fFrameTime / 1000.0f;
    if (HasFlags(&enemy.dwFlags, ETF_RAGE) && enemy.fAge > kRageStart) Rage(*this, index, type);
    if (HasFlags(&enemy.dwFlags, ETF_FALLING)) Fall(*this, enemy, type, dt);
    if (type.iReward < 1) Sink(*this, index, dt);
    if (HasFlags(&enemy.dwFlags, ETF_SHOOTER)) Shoot(*this, enemy, type, dt);
}
