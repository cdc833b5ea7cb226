// standin_particles.cpp -- stands in for the particles' motion until it exists: a particle stays
// where it was made until its lifetime ends.
#include "game/particles.h"

namespace {

void PlaceAtRest(CSpriteSet* set, int index) {
    const SSprite& particle = set->sprites[index];
    set->matWorld._41 = particle.vPos.x;
    set->matWorld._42 = particle.vPos.y;
    set->matWorld._43 = particle.vPos.z;
}

}  // namespace

CDustSet::CDustSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                   CObjectManager* objectManager)
    : CSpriteSet(device, world, cameraPos, timer, objectManager) {}
CDustSet::~CDustSet() {}
void CDustSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 2); }
void CDustSet::UpdateSprite(int index) { PlaceAtRest(this, index); }

CFlameSet::CFlameSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                     CObjectManager* objectManager)
    : CSpriteSet(device, world, cameraPos, timer, objectManager) {}
CFlameSet::~CFlameSet() {}
void CFlameSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 2); }
void CFlameSet::UpdateSprite(int index) { PlaceAtRest(this, index); }

CBloodSet::CBloodSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                     CObjectManager* objectManager)
    : CSpriteSet(device, world, cameraPos, timer, objectManager) {}
CBloodSet::~CBloodSet() {}
void CBloodSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 128); }
void CBloodSet::UpdateSprite(int index) { PlaceAtRest(this, index); }
