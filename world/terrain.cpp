// terrain.cpp -- the terrain object: its texture, drawing and the rebuild on a change of cell.
#include "world/terrain.h"

#include <cstring>

#include "shell/error_box.h"

CMap::CMap(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer)
    : CWorldObject(device, world, cameraPos, timer),
      pTexture(nullptr),
      pMesh(nullptr),
      pVertices(nullptr),
      pIndices(nullptr),
      vLastCamera(0.0f, 0.0f, 0.0f),
      bHasLastCamera(false),
      wVertexCount(0),
      wIndexCount(0),
      byHeader(),
      iCellsX(0),
      iCellsY(0),
      iViewRadius(4),
      cells() {
    HRESULT hr = D3DXCreateTextureFromFileEx(pDevice, "tex6.bmp", 256, 256, 6, D3DUSAGE_RENDERTARGET, D3DFMT_UNKNOWN,
                                             D3DPOOL_DEFAULT, D3DX_FILTER_LINEAR, D3DX_FILTER_LINEAR, 0xFF000000,
                                             nullptr, nullptr, &pTexture);
    ErrorBox(hr, "D3DXCreateTextureFromFileEx - tex6.bmp");
    if (FAILED(hr)) pTexture = nullptr;
}

CMap::~CMap() {
    ReleaseMesh();
    SAFE_RELEASE(pTexture);
}

void CMap::ReleaseMesh() { SAFE_RELEASE(pMesh); }

void CMap::MakeEmpty() {
    memset(byHeader, 0, sizeof(byHeader));
    iCellsX = 0;
    iCellsY = 0;
    memset(static_cast<void*>(cells), 0, sizeof(cells));
}

bool CMap::IsValidCell(int i, int j) const { return i >= 0 && i < iCellsX && j >= 0 && j < iCellsY; }

void CMap::SetRenderStates(int) {
    pDevice->SetTexture(0, pTexture);
    pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
}

int CMap::CellOf(float v) { return TruncateCoordinate(v) / 10; }

void CMap::Render() {
    SetRenderStates(0);

    const D3DXVECTOR3 camera = *pCameraPos;
    if (!bHasLastCamera || CellOf(vLastCamera.x) != CellOf(camera.x) || CellOf(vLastCamera.y) != CellOf(camera.y))
        ErrorBox(FillMapMesh(true), "FillMapMesh");
    vLastCamera = camera;
    bHasLastCamera = true;

    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    pDevice->SetTransform(D3DTS_WORLD, &identity);
    if (pMesh) pMesh->DrawSubset(0);
}
