// clouds.cpp -- the cloud square, alpha-tested on its texture and blended over what lies below.
#include "world/clouds.h"

#include <cstring>

#include "shell/error_box.h"
#include "world/terrain.h"
#include "world/world.h"

CSky::CSky(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer)
    : CWorldObject(device, world, cameraPos, timer), pVB_clouds(nullptr), pTexture(nullptr) {
    HRESULT hr = pDevice->CreateVertexBuffer(4 * sizeof(SCloudVertex), 0, D3DFVF_CLOUDVERTEX, D3DPOOL_MANAGED,
                                             &pVB_clouds);
    ErrorBox(hr, "CreateVertexBuffer");
    if (FAILED(hr)) pVB_clouds = nullptr;
    if (pVB_clouds && !FillVertexBuffer()) SAFE_RELEASE(pVB_clouds);

    hr = D3DXCreateTextureFromFileEx(pDevice, "clouds.tga", 64, 64, 6, D3DUSAGE_RENDERTARGET, D3DFMT_UNKNOWN,
                                     D3DPOOL_DEFAULT, D3DX_FILTER_LINEAR, D3DX_FILTER_LINEAR, 0xFF000000, nullptr,
                                     nullptr, &pTexture);
    ErrorBox(hr, "D3DXCreateTextureFromFileEx - clouds.tga");
    if (FAILED(hr)) pTexture = nullptr;
}

CSky::~CSky() {
    SAFE_RELEASE(pVB_clouds);
    SAFE_RELEASE(pTexture);
}

// Writes the square, in strip order, sized from the world's map; false when the lock failed.
bool CSky::FillVertexBuffer() {
    BYTE* data = nullptr;
    HRESULT hr = pVB_clouds->Lock(0, 0, &data, 0);
    ErrorBox(hr, "Lock - pVB_clouds");
    if (FAILED(hr) || !data) return false;

    const CMap* map = pWorld->pMap;
    const float w = static_cast<float>(static_cast<int>(static_cast<double>(map->iCellsX) * 10.0));
    const float h = static_cast<float>(static_cast<int>(static_cast<double>(map->iCellsY) * 10.0));
    const D3DXVECTOR3 up(0.0f, 0.0f, 1.0f);
    // u runs along y and v along x.
    const SCloudVertex square[4] = {
        {D3DXVECTOR3(-w, -h, HEIGHT), up, 0.0f, 0.0f},
        {D3DXVECTOR3(w, -h, HEIGHT), up, 0.0f, 1.0f},
        {D3DXVECTOR3(-w, h, HEIGHT), up, 1.0f, 0.0f},
        {D3DXVECTOR3(w, h, HEIGHT), up, 1.0f, 1.0f},
    };
    memcpy(data, square, sizeof(square));
    pVB_clouds->Unlock();
    return true;
}

void CSky::SetRenderStates(int) {
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    pDevice->SetRenderState(D3DRS_ALPHAREF, 64);
    pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}

void CSky::Render() {
    SetRenderStates(0);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    pDevice->SetTransform(D3DTS_WORLD, &identity);
    pDevice->SetTexture(0, pTexture);
    if (!pVB_clouds) return;
    pDevice->SetStreamSource(0, pVB_clouds, sizeof(SCloudVertex));
    pDevice->SetVertexShader(D3DFVF_CLOUDVERTEX);
    pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
}
