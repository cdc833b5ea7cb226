// helpers.h -- small helpers every part of the game uses: random integers, flags, squares, distances.
#pragma once

#include "d3dx8math.h"
#include "windows.h"

// An integer from 0 to n - 1 from the runtime's generator (0 for n of 0 or 1).
int RandomInt(int n);
// True when every bit of mask is set in *flags.
bool HasFlags(const DWORD* flags, DWORD mask);
// v when v > 0, otherwise -v.
float FloatAbs(float v);
float Sqr(float x);
// The Euclidean distance between two points.
float Distance(const D3DXVECTOR3* a, const D3DXVECTOR3* b);
