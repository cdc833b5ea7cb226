// explosion.h -- an explosion: a lit sphere that grows and fades for 1.5 s of play, then removes
// itself. Its damage is its maker's; the explosion is only drawn.
#pragma once

#include "d3dx8.h"
#include "world/object_manager.h"

class CExplosion : public CManagedObject {
public:
    CExplosion(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
               CObjectManager* objectManager);
    ~CExplosion() override;

    // Ages the explosion while the game is played or on the death screen, and draws it.
    void Render() override;
    // Alpha test off, and left off.
    void SetRenderStates(int reserved) override;

    ID3DXMesh* pSphere;  // the unit sphere it draws; null when it could not be made
    float fAge;          // seconds of play since it was made
    D3DXVECTOR3 vPos;    // centre, set by the creator
    D3DXCOLOR color;     // start colour, set by the creator
};

// An explosion of the colour at the point, made with the creator's device, world, camera and
// timer in the world's object manager. One that cannot be allocated, or that finds every slot of
// the manager taken (it could never be drawn nor ask to go), is dropped at once: null then.
CExplosion* SetOffExplosion(const CWorldObject& creator, const D3DXVECTOR3& centre, DWORD colour);
