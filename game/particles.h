// particles.h -- the game's short-lived effect particles: dust puffs, flamethrower flames and blood
// drops, each a sprite set that moves and fades the particles others add to it.
#pragma once

#include "world/sprite_set.h"

class CDustSet : public CSpriteSet {
public:
    CDustSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
             CObjectManager* objectManager);
    ~CDustSet() override;
    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};

class CFlameSet : public CSpriteSet {
public:
    CFlameSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
              CObjectManager* objectManager);
    ~CFlameSet() override;
    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};

class CBloodSet : public CSpriteSet {
public:
    CBloodSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
              CObjectManager* objectManager);
    ~CBloodSet() override;
    void SetRenderStates(int reserved) override;
    void UpdateSprite(int index) override;
};
