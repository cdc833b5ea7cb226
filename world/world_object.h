// world_object.h -- the abstract base of every drawable part of the world.
#pragma once

#include "d3d8.h"
#include "d3dx8math.h"

class CTimer;
class CWorld;

// A world part draws with the world's device, follows the camera and the frame timer, and can be
// paused. Every world object starts paused; the world pauses and resumes its parts together.
class CWorldObject {
public:
    CWorldObject(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer);
    virtual ~CWorldObject();

    virtual void Render();
    // Sets the device states the part draws with. The argument is reserved: callers pass 0.
    virtual void SetRenderStates(int reserved) = 0;
    virtual void Pause();
    virtual void Resume();

    IDirect3DDevice8* pDevice;
    BYTE bPaused;             // 1 = paused, 0 = running
    D3DXVECTOR3* pCameraPos;  // the camera's position, owned by the camera
    CTimer* pTimer;           // the frame timer
    CWorld* pWorld;           // the owning world: parts reach each other through it

    CWorldObject(const CWorldObject&) = delete;
    CWorldObject& operator=(const CWorldObject&) = delete;
};
