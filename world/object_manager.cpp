// object_manager.cpp -- registration, the two render passes, and pausing of the managed objects.
#include "world/object_manager.h"

#include <algorithm>

CManagedObject::CManagedObject(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                               CObjectManager* objectManager)
    : CWorldObject(device, world, cameraPos, timer), pObjectManager(objectManager), bRemove(0), byPass(1) {
    if (pObjectManager) pObjectManager->Add(this);
}

CManagedObject::~CManagedObject() {
    if (pObjectManager) pObjectManager->Remove(this);
}

CObjectManager::CObjectManager(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer)
    : CWorldObject(device, world, cameraPos, timer), members() {}

CObjectManager::~CObjectManager() {
    for (CManagedObject*& member : members) {
        if (member) {
            CManagedObject* object = member;
            member = nullptr;
            DeleteObject(object);
        }
    }
    while (!unplaced.empty()) {
        CManagedObject* object = unplaced.back();
        unplaced.pop_back();
        DeleteObject(object);
    }
}

// Deletes an object that is no longer in any slot, so that its destructor finds nothing to remove.
void CObjectManager::DeleteObject(CManagedObject* object) {
    object->pObjectManager = nullptr;
    delete object;
}

int CObjectManager::Add(CManagedObject* object) {
    for (int i = 0; i < MAX_OBJECTS; ++i) {
        if (!members[i]) {
            members[i] = object;
            return i;
        }
    }
    if (std::find(unplaced.begin(), unplaced.end(), object) == unplaced.end()) unplaced.push_back(object);
    return -1;
}

void CObjectManager::Remove(CManagedObject* object) {
    for (CManagedObject*& member : members) {
        if (member == object) {
            member = nullptr;
            return;
        }
    }
    auto it = std::find(unplaced.begin(), unplaced.end(), object);
    if (it != unplaced.end()) unplaced.erase(it);
}

void CObjectManager::SetRenderStates(int) {
    pDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    pDevice->SetRenderState(D3DRS_ALPHAREF, 64);
    pDevice->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    pDevice->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}

void CObjectManager::Pause() {
    bPaused = 1;
    for (CManagedObject* member : members)
        if (member) member->Pause();
}

void CObjectManager::Resume() {
    bPaused = 0;
    for (CManagedObject* member : members)
        if (member) member->Resume();
}

void CObjectManager::RenderPass(BYTE pass) {
    SetRenderStates(0);
    // Objects without a slot are never drawn; those that asked for removal go now.
    for (size_t k = 0; k < unplaced.size();) {
        if (unplaced[k]->bRemove) {
            CManagedObject* object = unplaced[k];
            unplaced.erase(unplaced.begin() + static_cast<std::ptrdiff_t>(k));
            DeleteObject(object);
        } else {
            ++k;
        }
    }
    // Each slot is read again when the loop reaches it: members create and delete others while drawn.
    for (int i = 0; i < MAX_OBJECTS; ++i) {
        if (members[i] && members[i]->bRemove) {
            CManagedObject* object = members[i];
            members[i] = nullptr;
            DeleteObject(object);
        }
        if (members[i] && members[i]->byPass == pass) members[i]->Render();
    }
}
