// enemy.h -- the enemies: the camera-facing sprites of one sprite set, placed by the spawn clock
// and acting by their type's flags in their per-sprite update.
#pragma once

#include "world/sprite_set.h"

class CEnemySet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    // Only the alpha reference, 64: the object manager's pass set the rest.
    void SetRenderStates(int reserved) override;
    // Places enemy i for drawing (rising out of the ground over its first two seconds) and,
    // unless the set is paused, runs its rage, fall, sinking and shooting.
    void UpdateSprite(int index) override;
};
