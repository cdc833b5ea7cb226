// standin_enemy.cpp -- stands in for the enemies' behaviour until it exists: an enemy stands where
// it was placed.
#include "game/enemy.h"

void CEnemySet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 64); }

void CEnemySet::UpdateSprite(int index) {
    const SSprite& enemy = sprites[index];
    matWorld._41 = enemy.vPos.x;
    matWorld._42 = enemy.vPos.y;
    matWorld._43 = enemy.vPos.z;
}
