// standin_projectile.cpp -- stands in for the projectiles' flight until it exists: a projectile
// stays where it was put until its lifetime ends.
#include "game/projectile.h"

void CProjectileSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 8); }

void CProjectileSet::UpdateSprite(int index) {
    const SSprite& projectile = sprites[index];
    matWorld._41 = projectile.vPos.x;
    matWorld._42 = projectile.vPos.y;
    matWorld._43 = projectile.vPos.z;
}
