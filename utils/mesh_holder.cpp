// mesh_holder.cpp -- CMeshHolder: loading a .x mesh with its materials and textures, drawing it
// subset by subset, and freeing it.
#include "utils/mesh_holder.h"

#include "shell/error_box.h"

// Meshes are loaded into system-memory buffers (0x110).
static const DWORD kMeshOptions = D3DXMESH_SYSTEMMEM;
static_assert(D3DXMESH_SYSTEMMEM == 0x110, "the options the holder loads with");

CMeshHolder::CMeshHolder(LPDIRECT3DDEVICE8 pd3dDevice)
    : pMesh(nullptr), pMaterials(nullptr), pTextures(nullptr), dwNumMaterials(0), pDevice(pd3dDevice) {}

CMeshHolder::~CMeshHolder() { Release(); }

void CMeshHolder::Load(const char* strFilename) {
    Release();
    LPD3DXBUFFER materialBuffer = nullptr;
    HRESULT hr =
        D3DXLoadMeshFromX(strFilename, kMeshOptions, pDevice, nullptr, &materialBuffer, &dwNumMaterials, &pMesh);
    ErrorBox(hr, "D3DXLoadMeshFromX");
    if (FAILED(hr) || !materialBuffer) {
        // Nothing was loaded: the holder stays empty.
        if (materialBuffer) materialBuffer->Release();
        Release();
        return;
    }

    pMaterials = new D3DMATERIAL8[dwNumMaterials];
    pTextures = new LPDIRECT3DTEXTURE8[dwNumMaterials];
    const D3DXMATERIAL* materials = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
    for (DWORD i = 0; i < dwNumMaterials; ++i) {
        pMaterials[i] = materials[i].MatD3D;
        pMaterials[i].Ambient = pMaterials[i].Diffuse;
        pTextures[i] = nullptr;
        const char* texture = materials[i].pTextureFilename;
        if (texture && texture[0] && FAILED(D3DXCreateTextureFromFile(pDevice, texture, &pTextures[i])))
            pTextures[i] = nullptr;
    }
    materialBuffer->Release();
}

void CMeshHolder::Render() {
    if (!pMesh) return;
    for (DWORD i = 0; i < dwNumMaterials; ++i) {
        pDevice->SetMaterial(&pMaterials[i]);
        pDevice->SetTexture(0, pTextures[i]);
        pMesh->DrawSubset(i);
    }
}

void CMeshHolder::Release() {
    delete[] pMaterials;
    pMaterials = nullptr;
    if (pTextures) {
        for (DWORD i = 0; i < dwNumMaterials; ++i)
            if (pTextures[i]) pTextures[i]->Release();
        delete[] pTextures;
        pTextures = nullptr;
    }
    if (pMesh) pMesh->Release();
    pMesh = nullptr;
    dwNumMaterials = 0;
}
