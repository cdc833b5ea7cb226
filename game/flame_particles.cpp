// flame_particles.cpp -- flamethrower flames: fast flight, a fade, growth and a drift on the ground.
#include "game/particles.h"

#include "game/particle_helpers.h"
#include "shell/helpers.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/world.h"

void CFlameSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 2); }

void CFlameSet::UpdateSprite(int index) {
    SSprite& flame = sprites[index];
    if (!bPaused) {
        // Opaque for 0.2 s, then fading by 375 a second. The buffer is not marked: the new colour
        // shows from the next refill, which the next flame added or removed causes.
        const int alpha =
            flame.fAge < 0.2f ? 255 : particles::TruncateAlpha(255.0f - (flame.fAge - 0.2f) * 1.5f * 250.0f);
        particles::SetAlpha(flame, alpha);

        const float dt = pTimer->fFrameTime / 1000.0f;
        flame.vPos += dt * (8.0f * flame.vVelocity);

        // On the ground a flame only drifts. Its position is left as it is, so it draws a new
        // drift every frame until it rises clear or burns out.
        if (flame.vPos.z < pWorld->pMap->GetHeight(flame.vPos.x, flame.vPos.y) + 0.1f) {
            flame.vVelocity.z = static_cast<float>(RandomInt(100)) / 10000.0f;
            flame.vVelocity.y = static_cast<float>(RandomInt(100)) / 10000.0f - 0.005f;
            flame.vVelocity.x = static_cast<float>(RandomInt(100)) / 10000.0f - 0.005f;
        }
    }
    particles::SetTranslation(matWorld, flame.vPos.x, flame.vPos.y, flame.vPos.z);

    // Growth from 0.01 at birth, scaled before the turn towards the camera and the translation.
    const float size = 3.0f * flame.fAge * flame.fAge + 0.01f;
    D3DXMATRIX scale;
    D3DXMatrixScaling(&scale, size, size, size);
    matWorld = scale * matWorld;
}
