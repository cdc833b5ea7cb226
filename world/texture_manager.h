// texture_manager.h -- the game's textures in 64 numbered slots.
#pragma once

#include "d3dx8.h"
#include "world/world_object.h"

// Callers keep a slot number instead of a texture. -1 is "no texture": what a full manager or a
// failed load gives; it binds no texture and releases nothing.
class CTextureManager : public CWorldObject {
public:
    enum { MAX_TEXTURES = 64 };

    CTextureManager(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer);
    ~CTextureManager() override;

    void Render() override;
    void SetRenderStates(int reserved) override;

    // Loads an image file into the first free slot; the slot number, or -1 when no slot is free
    // or the load failed (the failure is reported).
    int LoadTexture(const char* fileName, UINT width, UINT height, UINT mipLevels, D3DFORMAT format,
                    D3DXCOLOR colorKey);
    void ReleaseTexture(int slot);
    // Binds the slot's texture to stage 0; an empty slot or -1 binds none.
    void SetTexture(int slot);

    IDirect3DTexture8* textures[MAX_TEXTURES];
};
