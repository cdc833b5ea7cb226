// texture_manager.cpp -- loading, binding and releasing the numbered texture slots.
#include "world/texture_manager.h"

#include <cstdio>

#include "shell/error_box.h"

namespace {

bool IsSlot(int slot) { return slot >= 0 && slot < CTextureManager::MAX_TEXTURES; }

}  // namespace

CTextureManager::CTextureManager(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer)
    : CWorldObject(device, world, cameraPos, timer), textures() {}

CTextureManager::~CTextureManager() {
    for (int i = 0; i < MAX_TEXTURES; ++i) ReleaseTexture(i);
}

void CTextureManager::Render() {}

void CTextureManager::SetRenderStates(int) {}

int CTextureManager::LoadTexture(const char* fileName, UINT width, UINT height, UINT mipLevels, D3DFORMAT format,
                                 D3DXCOLOR colorKey) {
    char what[256];
    snprintf(what, sizeof(what), "D3DXCreateTextureFromFileEx - TextureManager : %s", fileName);

    int slot = 0;
    while (slot < MAX_TEXTURES && textures[slot]) ++slot;
    if (slot == MAX_TEXTURES) return -1;

    HRESULT hr = D3DXCreateTextureFromFileEx(pDevice, fileName, width, height, mipLevels, D3DUSAGE_RENDERTARGET,
                                             format, D3DPOOL_DEFAULT, D3DX_FILTER_LINEAR, D3DX_FILTER_LINEAR,
                                             static_cast<D3DCOLOR>(colorKey), nullptr, nullptr, &textures[slot]);
    ErrorBox(hr, what);
    if (FAILED(hr)) {
        // A slot that held nothing would be handed out again: its number would show another picture.
        textures[slot] = nullptr;
        return -1;
    }
    return slot;
}

void CTextureManager::ReleaseTexture(int slot) {
    if (IsSlot(slot) && textures[slot]) {
        textures[slot]->Release();
        textures[slot] = nullptr;
    }
}

void CTextureManager::SetTexture(int slot) { pDevice->SetTexture(0, IsSlot(slot) ? textures[slot] : nullptr); }
