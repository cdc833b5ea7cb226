// world.cpp -- the world's parts, their drawing order and their shared states.
#include "world/world.h"

#include <cstring>

#include "world/clouds.h"
#include "world/object_manager.h"
#include "world/terrain.h"
#include "world/texture_manager.h"

CWorld* g_pWorld = nullptr;

CWorld::CWorld(IDirect3DDevice8* device, D3DXVECTOR3* cameraPos, CTimer* timer)
    : pDevice(device),
      bPaused(1),
      pCameraPos(cameraPos),
      pTimer(timer),
      pMap(nullptr),
      pSky(nullptr),
      pObjectManager(nullptr),
      pTextureManager(nullptr),
      iWidth(640),
      iHeight(480),
      dwFilter(D3DTEXF_LINEAR),
      dwMipFilter(D3DTEXF_POINT) {
    pMap = new CMap(device, this, cameraPos, timer);
    pTextureManager = new CTextureManager(device, this, cameraPos, timer);
    pObjectManager = new CObjectManager(device, this, cameraPos, timer);
}

CWorld::~CWorld() {
    delete pMap;
    pMap = nullptr;
    delete pSky;
    pSky = nullptr;
    delete pObjectManager;
    pObjectManager = nullptr;
    delete pTextureManager;
    pTextureManager = nullptr;
}

void CWorld::LoadMap(const char* fileName) {
    pMap->Load(fileName);
    delete pSky;
    pSky = nullptr;
    pSky = new CSky(pDevice, this, pCameraPos, pTimer);
}

void CWorld::SetRenderStates(int) {
    const float lodBias = 1.0f;
    DWORD lodBiasBits;
    memcpy(&lodBiasBits, &lodBias, sizeof(lodBiasBits));

    pDevice->SetTextureStageState(0, D3DTSS_MINFILTER, dwFilter);
    pDevice->SetTextureStageState(0, D3DTSS_MAGFILTER, dwFilter);
    pDevice->SetTextureStageState(0, D3DTSS_MIPFILTER, dwMipFilter);
    pDevice->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    pDevice->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    pDevice->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    pDevice->SetRenderState(D3DRS_AMBIENT, 0);
    pDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    pDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    pDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    pDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    pDevice->SetTextureStageState(0, D3DTSS_MIPMAPLODBIAS, lodBiasBits);
}

void CWorld::Render() {
    SetRenderStates(0);
    pMap->Render();
    pObjectManager->RenderPass(0);
    if (pSky) pSky->Render();
    pObjectManager->RenderPass(1);
}

void CWorld::Pause() {
    bPaused = 1;
    pMap->Pause();
    pObjectManager->Pause();
    if (pSky) pSky->Pause();
}

void CWorld::Resume() {
    bPaused = 0;
    pMap->Resume();
    pObjectManager->Resume();
    if (pSky) pSky->Resume();
}
