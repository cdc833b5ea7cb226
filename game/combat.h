// combat.h -- the three operations every damage goes through: hurting and killing an enemy, and
// hurting the player. Only the player's weapons pass byPlayer, which pays scores and rewards.
#pragma once

// Blood, a kill sound when the player is near, the reward when by the player, and the enemy gone.
// An enemy that is no longer active is left alone.
void KillEnemy(int slot, bool byPlayer);
// Blood by the damage, 3 score when by the player, then the health lowered; a kill at 0 or less.
// Acts on the record whether or not it is still active.
void DamageEnemy(int slot, float damage, bool byPlayer);
// Blood at the eye and the health lowered; death is the frame's to notice.
void DamagePlayer(int damage);
