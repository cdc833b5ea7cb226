// sprite_set.h -- 64 camera-facing sprites in one vertex buffer: placed, aged, moved, expired and drawn.
#pragma once

#include "d3dx8.h"
#include "world/object_manager.h"
#include "world/vertex3d.h"

struct SSprite {
    SVertex3D vertices[4];  // the square's corners in sprite space, in strip order
    D3DXVECTOR3 vPos;       // the centre, in the world
    int32_t iTexture;       // texture slot bound when the sprite is drawn
    char szName[64];
    BYTE bActive;
    int32_t iType;
    float fTimer;
    float fLatch;
    float fAge;       // seconds since the sprite was added, while the set runs
    float fLifetime;  // seconds; an expiring set removes the sprite once its age reaches this
    D3DXVECTOR3 vVelocity;
    float fHealth;
    DWORD dwFlags;
};

class CSpriteSet : public CManagedObject {
public:
    enum { MAX_SPRITES = 64 };

    CSpriteSet(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
               CObjectManager* objectManager);
    ~CSpriteSet() override;

    void Render() override;
    void SetRenderStates(int reserved) override;
    // The per-sprite behaviour of a derived set: it gets matWorld holding the sprite's turn
    // towards the camera and completes it.
    virtual void UpdateSprite(int index);

    // Takes the first free record, places it at a random point on the ground and returns its
    // index; -1 when all are in use.
    int AddRandomSprite();
    void RemoveSprite(int index);
    void FillVertexBuffer();

    IDirect3DVertexBuffer8* pSpriteVB;  // the corners of record i are vertices 4i to 4i + 3
    D3DXMATRIX matWorld;                // the world matrix of the sprite being drawn
    BYTE bDirty;                        // the vertex buffer must be refilled from the records
    BYTE bExpire;                       // sprites are removed when their age reaches their lifetime
    BYTE bCustomUpdate;                 // UpdateSprite places each sprite
    SSprite sprites[MAX_SPRITES];

private:
    void DrawSprite(int index, bool drawable);
};
