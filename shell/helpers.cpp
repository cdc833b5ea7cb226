// helpers.cpp -- random integers, flag tests and small float helpers.
#include "shell/helpers.h"

#include <cstdlib>

int RandomInt(int n) {
    // 32772, not 32768: r / 32772 stays below 1, so the result never reaches n.
    int r = rand();
    return static_cast<int>(r / 32772.0 * n);
}

bool HasFlags(const DWORD* flags, DWORD mask) { return (*flags & mask) == mask; }

float FloatAbs(float v) { return v > 0 ? v : -v; }

float Sqr(float x) { return x * x; }
