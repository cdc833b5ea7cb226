// world.h -- the world: terrain, clouds, managed objects and texture slots, drawn and paused together.
#pragma once

#include "d3d8.h"
#include "d3dx8math.h"

class CTimer;
class CMap;
class CSky;
class CObjectManager;
class CTextureManager;

class CWorld {
public:
    CWorld(IDirect3DDevice8* device, D3DXVECTOR3* cameraPos, CTimer* timer);
    virtual ~CWorld();
    // The states shared by everything the world draws. The argument is reserved: callers pass 0.
    virtual void SetRenderStates(int reserved);

    // Terrain, pass-0 objects, clouds, pass-1 objects.
    void Render();
    void Pause();
    void Resume();
    // Loads the terrain file and makes a cloud layer sized from it.
    void LoadMap(const char* fileName);

    IDirect3DDevice8* pDevice;
    BYTE bPaused;  // 1 = paused, 0 = running
    D3DXVECTOR3* pCameraPos;
    CTimer* pTimer;
    CMap* pMap;
    CSky* pSky;  // null until the first LoadMap
    CObjectManager* pObjectManager;
    CTextureManager* pTextureManager;
    int32_t iWidth;
    int32_t iHeight;
    DWORD dwFilter;     // minification and magnification filter
    DWORD dwMipFilter;  // mip filter

    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;
};

extern CWorld* g_pWorld;
