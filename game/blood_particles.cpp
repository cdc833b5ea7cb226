// blood_particles.cpp -- blood drops: a drifting arc from the spawn point, in closed form of the age.
#include "game/particles.h"

#include <cmath>

#include "game/particle_helpers.h"

void CBloodSet::SetRenderStates(int) { pDevice->SetRenderState(D3DRS_ALPHAREF, 128); }

// Sideways a third of the velocity a second; upwards a sine arc from 20 to 260 degrees over the
// first second, less a steady fall of a third of a unit a second. A paused set does not age its
// drops, so they hold still.
void CBloodSet::UpdateSprite(int index) {
    const SSprite& drop = sprites[index];
    const float age = drop.fAge;
    const float arc = sinf((age * 240.0f + 20.0f) * 0.017453292f);
    particles::SetTranslation(matWorld, drop.vPos.x + age * drop.vVelocity.x / 3.0f,
                              drop.vPos.y + age * drop.vVelocity.y / 3.0f,
                              drop.vPos.z + arc * fabsf(drop.vVelocity.z) / 3.0f - age / 3.0f);
}
