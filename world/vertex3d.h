// vertex3d.h -- the vertex of the terrain mesh, the sprites and the fence.
#pragma once

#include <cstddef>

#include "d3dx8math.h"

struct SVertex3D {
    D3DXVECTOR3 vPos;
    DWORD dwColor;  // ARGB
    float fU;
    float fV;
};

#define D3DFVF_VERTEX3D (D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1)

static_assert(sizeof(SVertex3D) == 24, "SVertex3D is 24 bytes");
static_assert(offsetof(SVertex3D, dwColor) == 12 && offsetof(SVertex3D, fU) == 16 && offsetof(SVertex3D, fV) == 20,
              "SVertex3D layout");
static_assert(D3DFVF_VERTEX3D == 0x142, "FVF of SVertex3D");
