// explosion.h -- an explosion: a growing, fading sphere that removes itself when it has burnt out.
#pragma once

#include "d3dx8.h"
#include "world/object_manager.h"

class CExplosion : public CManagedObject {
public:
    CExplosion(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
               CObjectManager* objectManager);
    ~CExplosion() override;

    void Render() override;
    void SetRenderStates(int reserved) override;

    ID3DXMesh* pSphere;  // the unit sphere it draws
    float fAge;          // seconds of play since it was made
    D3DXVECTOR3 vPos;    // centre, set by the creator
    D3DXCOLOR color;     // start colour, set by the creator
};
