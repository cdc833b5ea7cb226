// clouds.h -- the cloud layer: one textured square hung at height 6 over the terrain.
#pragma once

#include <cstddef>

#include "d3dx8.h"
#include "world/world_object.h"

struct SCloudVertex {
    D3DXVECTOR3 vPos;
    D3DXVECTOR3 vNormal;
    float fU;
    float fV;
};

#define D3DFVF_CLOUDVERTEX (D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1)

static_assert(sizeof(SCloudVertex) == 32, "SCloudVertex is 32 bytes");
static_assert(offsetof(SCloudVertex, fU) == 24, "SCloudVertex layout");
static_assert(D3DFVF_CLOUDVERTEX == 0x112, "FVF of SCloudVertex");

// Made by the world once the terrain is loaded, sized from it: twice the map in each direction,
// centred on the origin.
class CSky : public CWorldObject {
public:
    CSky(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer);
    ~CSky() override;

    void Render() override;
    void SetRenderStates(int reserved) override;

    static constexpr float HEIGHT = 6.0f;

    IDirect3DVertexBuffer8* pVB_clouds;  // the square's four vertices; null when they could not be made
    IDirect3DTexture8* pTexture;         // clouds.tga

private:
    bool FillVertexBuffer();
};
