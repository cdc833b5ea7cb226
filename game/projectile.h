// projectile.h -- the enemies' projectiles: one sprite set, filled by the shooting enemies.
#pragma once

#include "world/sprite_set.h"

class CProjectileSet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    // Only the alpha reference, 8.
    void SetRenderStates(int reserved) override;
    // Moves projectile i and settles its hits.
    void UpdateSprite(int index) override;
};
