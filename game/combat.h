// combat.h -- the three operations every damage goes through: hurting and killing an enemy, and
// hurting the player. Only the player's weapons pass byPlayer, which pays scores and rewards.
#pragma once

#include "d3dx8math.h"

// Blood, a kill sound when the player is near, the reward when by the player, and the enemy gone.
// An enemy that is no longer active is left alone.
void KillEnemy(int slot, bool byPlayer);
// Blood by the damage, 3 score when by the player, then the health lowered; a kill at 0 or less.
// Acts on the record whether or not it is still active.
void DamageEnemy(int slot, float damage, bool byPlayer);
// Blood at the eye and the health lowered; death is the frame's to notice. A damage below 0
// (from a negative one in db.cfg) heals nothing: it counts as 0.
void DamagePlayer(int damage);
// An explosion's blast of the type damage at the centre, the player standing playerDistance
// from it: within 8 units the player and every active enemy lose damage times (8 - distance) / 8,
// never by the player.
void BlastDamage(D3DXVECTOR3 centre, float playerDistance, float damage);
// The whole part of a damage, as a cast takes it; 0 for a NaN and the int's limits beyond them.
int TruncateDamage(float damage);
