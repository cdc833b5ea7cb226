// particle_helpers.h -- what the particle sets share: fading a record's colour and placing the sprite.
#pragma once

#include "world/sprite_set.h"

namespace particles {

// Truncates towards zero, as a cast does. A value no int could hold (a NaN lifetime, an age far
// past its end) gives 0 rather than an undefined conversion; only the low 8 bits are used anyway.
inline int TruncateAlpha(float value) {
    if (!(value > -1.0e9f && value < 1.0e9f)) return 0;
    return static_cast<int>(value);
}

// All four corners become white with the low 8 bits of alpha as their alpha.
inline void SetAlpha(SSprite& sprite, int alpha) {
    const DWORD color = ((static_cast<DWORD>(alpha) & 0xFF) << 24) | 0x00FFFFFF;
    for (SVertex3D& corner : sprite.vertices) corner.dwColor = color;
}

// The translation row of a world matrix.
inline void SetTranslation(D3DXMATRIX& matrix, float x, float y, float z) {
    matrix._41 = x;
    matrix._42 = y;
    matrix._43 = z;
}

}  // namespace particles
