// object_manager.h -- the world's dynamic content: managed objects in 16 slots, drawn in two passes.
#pragma once

#include <vector>

#include "world/world_object.h"

class CObjectManager;

// A world object that registers with an object manager for as long as it lives. It is drawn in
// pass byPass; setting bRemove asks the manager to delete it.
class CManagedObject : public CWorldObject {
public:
    CManagedObject(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer,
                   CObjectManager* objectManager);
    ~CManagedObject() override;

    void Render() override = 0;
    void SetRenderStates(int reserved) override = 0;

    CObjectManager* pObjectManager;  // the manager registered with; null = none
    BYTE bRemove;                    // non-zero: the manager deletes the object at its next pass
    BYTE byPass;                     // the render pass the object is drawn in
};

class CObjectManager : public CWorldObject {
public:
    enum { MAX_OBJECTS = 16 };

    CObjectManager(IDirect3DDevice8* device, CWorld* world, D3DXVECTOR3* cameraPos, CTimer* timer);
    // Deletes the objects still registered (and those that found no slot), so nothing outlives the
    // world unnoticed. Owners that keep their objects delete them before the world.
    ~CObjectManager() override;

    void SetRenderStates(int reserved) override;
    void Pause() override;
    void Resume() override;
    // Deletes the members that asked for removal and draws those of the given pass, in slot order.
    virtual void RenderPass(BYTE pass);

    // The first free slot, or -1 when all are taken: the object is then kept aside, never drawn,
    // paused or resumed, but deleted once it asks for removal or when the manager goes.
    int Add(CManagedObject* object);
    void Remove(CManagedObject* object);
    // How many objects are kept aside for want of a slot.
    size_t ObjectsAside() const { return unplaced.size(); }

    CManagedObject* members[MAX_OBJECTS];

private:
    void DeleteObject(CManagedObject* object);

    std::vector<CManagedObject*> unplaced;  // objects that found every slot taken
};
