// mesh_holder.h -- CMeshHolder: one mesh loaded from a .x file with its materials and textures,
// drawn subset by subset.
#pragma once

#include "d3d8.h"
#include "d3dx8.h"

class CMeshHolder {
public:
    explicit CMeshHolder(LPDIRECT3DDEVICE8 pd3dDevice);
    ~CMeshHolder();
    CMeshHolder(const CMeshHolder&) = delete;
    CMeshHolder& operator=(const CMeshHolder&) = delete;

    // Replaces what the holder has with the file's mesh; a file that cannot be loaded is
    // reported in the error box and leaves the holder empty.
    void Load(const char* strFilename);
    // Draws each material's subset with its material and texture (none where it has none).
    void Render();
    // Frees everything; the holder is then empty.
    void Release();

    LPD3DXMESH pMesh;
    D3DMATERIAL8* pMaterials;
    LPDIRECT3DTEXTURE8* pTextures;  // one for each material, null where it has none
    DWORD dwNumMaterials;
    LPDIRECT3DDEVICE8 pDevice;  // borrowed
};
