// projectile.h -- the enemies' projectiles: one sprite set, filled by the shooting enemies.
#pragma once

#include "world/sprite_set.h"

class CProjectileSet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    // Only the alpha reference, 8.
    void SetRenderStates(int reserved) override;
    // Unless the set is paused, flies projectile i by its shooter's type (straight or homing,
    // slow or fast) and settles its contact with the ground and the player; then places it.
    void UpdateSprite(int index) override;
};
