// dust_particles.cpp -- dust puffs: straight motion and a fade over the second half of their life.
#include "game/particles.h"

#include "game/particle_helpers.h"
#include "shell/timer.h"

void CDustSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 2); }

void CDustSet::UpdateSprite(int index) {
    SSprite& puff = sprites[index];
    if (!bPaused) puff.vPos += puff.vVelocity * (pTimer->fFrameTime / 1000.0f);
    particles::SetTranslation(matWorld, puff.vPos.x, puff.vPos.y, puff.vPos.z);
    if (bPaused) return;

    // Opaque until half its life, then from 128 down to 1 at its end.
    const int alpha = puff.fAge < puff.fLifetime / 2.0f
                          ? 255
                          : particles::TruncateAlpha(255.0f - 254.0f * puff.fAge / puff.fLifetime);
    particles::SetAlpha(puff, alpha);
    bDirty = 1;
}
