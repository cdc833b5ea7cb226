// particles.h -- the game's short-lived effect particles: dust puffs, flamethrower flames and blood drops.
#pragma once

#include "world/sprite_set.h"

// The three sets only move and fade particles; the enemies, the shot and the combat code create
// them with AddRandomSprite and fill in the record. The game makes each set with bExpire and
// bCustomUpdate on, so that sprites go at their lifetime and are placed by UpdateSprite.

// Dust of falling enemies: moves in a straight line, opaque for half its life, then fading.
class CDustSet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};

// Flamethrower flames: fly at eight times their velocity, fade after 0.2 s, grow with the square
// of their age and drift slowly about once they touch the ground.
class CFlameSet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};

// Blood drops: follow an arc from their spawn point, computed from their age alone; the record
// itself never changes, so the drop keeps the colour it was given.
class CBloodSet : public CSpriteSet {
public:
    using CSpriteSet::CSpriteSet;  // device, world, camera position, frame timer, object manager

    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};
