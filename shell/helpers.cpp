// helpers.cpp -- random integers, flag tests and small float helpers.
#include "shell/helpers.h"

#include <cmath>
#include <cstdlib>

int RandomInt(int n) {
    // 32772, not 32768: r / 32772 stays below 1, so the result never reaches n.
    int r = rand();
    return static_cast<int>(r / 32772.0 * n);
}

bool HasFlags(const DWORD* flags, DWORD mask) { return (*flags & mask) == mask; }

float FloatAbs(float v) { return v > 0 ? v : -v; }

float Sqr(float x) { return x * x; }

float Distance(const D3DXVECTOR3* a, const D3DXVECTOR3* b) {
    float dx = a->x - b->x, dy = a->y - b->y, dz = a->z - b->z;
    // The first two squares are summed in float, the third is added in double under the root.
    float xy = Sqr(dx) + Sqr(dy);
    return static_cast<float>(std::sqrt(static_cast<double>(xy) + Sqr(dz)));
}
