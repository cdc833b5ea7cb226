// world_object.cpp -- what every world part shares.
#include "world/world_object.h"

CWorldObject::CWorldObject(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer)
    : pDevice(device), bPaused(1), pCameraPos(cameraPos), pTimer(timer), pWorld(world) {}

CWorldObject::~CWorldObject() = default;

void CWorldObject::Render() {}

void CWorldObject::Pause() { bPaused = 1; }

void CWorldObject::Resume() { bPaused = 0; }
