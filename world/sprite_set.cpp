// sprite_set.cpp -- the sprite records, their vertex buffer and the billboard drawing.
#include "world/sprite_set.h"

#include <cmath>
#include <cstdlib>

#include "shell/error_box.h"
#include "shell/timer.h"
#include "world/terrain.h"
#include "world/texture_manager.h"
#include "world/world.h"

CSpriteSet::CSpriteSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                       CObjectManager* objectManager)
    : CManagedObject(device, world, cameraPos, timer, objectManager),
      pSpriteVB(nullptr),
      bDirty(1),
      bExpire(0),
      bCustomUpdate(0),
      sprites() {
    D3DXMatrixIdentity(&matWorld);
    for (SSprite& sprite : sprites) sprite.iTexture = -1;
    HRESULT hr = pDevice->CreateVertexBuffer(MAX_SPRITES * 4 * sizeof(SVertex3D), D3DUSAGE_WRITEONLY,
                                             D3DFVF_VERTEX3D, D3DPOOL_DEFAULT, &pSpriteVB);
    ErrorBox(hr, "CreateVertexBuffer - pSpriteVB");
    if (FAILED(hr)) pSpriteVB = nullptr;
}

CSpriteSet::~CSpriteSet() { SAFE_RELEASE(pSpriteVB); }

void CSpriteSet::UpdateSprite(int) {}

int CSpriteSet::AddRandomSprite() {
    int index = 0;
    while (index < MAX_SPRITES && sprites[index].bActive) ++index;
    if (index == MAX_SPRITES) return -1;

    SSprite& sprite = sprites[index];
    const CMap* map = pWorld->pMap;
    const int r1 = rand();
    const int r2 = rand();
    const float x = static_cast<float>(r1) * static_cast<float>(10 * map->iCellsX - 40) / 32767.0f + 20.0f;
    const float y = static_cast<float>(r2) * static_cast<float>(10 * map->iCellsY - 40) / 32767.0f + 20.0f;
    sprite.vPos = D3DXVECTOR3(x, y, map->GetHeight(x, y) + 0.25f);

    // A 0.5 x 0.5 square in the sprite's y-z plane: u along y, v down z.
    static const SVertex3D corners[4] = {
        {D3DXVECTOR3(0.0f, -0.25f, -0.25f), 0xFFFFFFFF, 0.0f, 1.0f},
        {D3DXVECTOR3(0.0f, -0.25f, 0.25f), 0xFFFFFFFF, 0.0f, 0.0f},
        {D3DXVECTOR3(0.0f, 0.25f, -0.25f), 0xFFFFFFFF, 1.0f, 1.0f},
        {D3DXVECTOR3(0.0f, 0.25f, 0.25f), 0xFFFFFFFF, 1.0f, 0.0f},
    };
    for (int k = 0; k < 4; ++k) sprite.vertices[k] = corners[k];

    sprite.fTimer = 0.0f;
    sprite.fLatch = 0.0f;
    sprite.fAge = 0.0f;
    sprite.dwFlags = 0;
    sprite.bActive = 1;
    bDirty = 1;
    return index;
}

void CSpriteSet::RemoveSprite(int index) {
    if (index < 0 || index >= MAX_SPRITES) return;
    sprites[index].bActive = 0;
    bDirty = 1;
}

void CSpriteSet::FillVertexBuffer() {
    if (!pSpriteVB) return;
    BYTE* data = nullptr;
    if (FAILED(pSpriteVB->Lock(0, 0, &data, 0)) || !data) return;  // stays dirty: tried again next frame
    SVertex3D* out = reinterpret_cast<SVertex3D*>(data);
    for (const SSprite& sprite : sprites)
        for (const SVertex3D& corner : sprite.vertices) *out++ = corner;
    pSpriteVB->Unlock();
    bDirty = 0;
}

void CSpriteSet::SetRenderStates(int) {
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    pDevice->SetRenderState(D3DRS_ALPHAREF, 4);
    pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
}

void CSpriteSet::Render() {
    SetRenderStates(0);
    if (bDirty) FillVertexBuffer();
    // Without a filled buffer the sprites still live, age and move; they are only not drawn.
    // Records changed during the loop are drawn with what the buffer holds until the next fill.
    const bool drawable = pSpriteVB && !bDirty;
    if (drawable) {
        pDevice->SetStreamSource(0, pSpriteVB, sizeof(SVertex3D));
        pDevice->SetVertexShader(D3DFVF_VERTEX3D);
    }
    for (int i = 0; i < MAX_SPRITES; ++i)
        if (sprites[i].bActive) DrawSprite(i, drawable);
}

void CSpriteSet::DrawSprite(int i, bool drawable) {
    SSprite& sprite = sprites[i];
    if (!bPaused) sprite.fAge += pTimer->fFrameTime / 1000.0f;

    // Turn the square's face (its x axis) along the horizontal direction from the camera; a
    // sprite right at the camera keeps angle 0.
    const D3DXVECTOR3 d = sprite.vPos - *pCameraPos;
    const float angle = (d.x == 0.0f && d.y == 0.0f) ? 0.0f : atan2f(d.y, d.x);
    D3DXMatrixRotationZ(&matWorld, angle);
    if (bCustomUpdate) {
        UpdateSprite(i);
    } else {
        matWorld._41 = sprite.vPos.x;
        matWorld._42 = sprite.vPos.y;
        matWorld._43 = sprite.vPos.z;
    }
    if (drawable) {
        pDevice->SetTransform(D3DTS_WORLD, &matWorld);
        pWorld->pTextureManager->SetTexture(sprite.iTexture);
        pDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4 * i, 2);
    }
    if (!bPaused && bExpire && sprite.fAge >= sprite.fLifetime) RemoveSprite(i);
}
