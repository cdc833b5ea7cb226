// standin_explosion.cpp -- stands in for the explosions until they exist: an explosion that shows
// nothing and is gone at the next pass.
#include "game/explosion.h"

CExplosion::CExplosion(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                       CObjectManager* objectManager)
    : CManagedObject(device, world, cameraPos, timer, objectManager),
      pSphere(nullptr),
      fAge(0.0f),
      vPos(0.0f, 0.0f, 0.0f),
      color(0xFFFFFFFF) {}

CExplosion::~CExplosion() {}

void CExplosion::Render() { bRemove = 1; }

void CExplosion::SetRenderStates(int) {}
