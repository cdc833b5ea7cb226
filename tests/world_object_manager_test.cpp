// world_object_manager_test.cpp -- the managed objects' slots, the passes and removal while drawing.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "world_device.h"
#include "world/object_manager.h"

namespace {

// A managed object that records what is done to it.
struct Probe : CManagedObject {
    Probe(world_test::Device& d, CObjectManager* manager, std::vector<int>* log, int id)
        : CManagedObject(d.device, nullptr, d.camera(), d.timer(), manager), log(log), id(id) {}
    ~Probe() override {
        if (deleted) *deleted += 1;
    }
    void Render() override {
        ++renders;
        if (log) log->push_back(id);
        if (onRender) onRender();
    }
    void SetRenderStates(int) override {}

    std::vector<int>* log;
    int id;
    int renders = 0;
    int* deleted = nullptr;
    std::function<void()> onRender;
};

int SlotOf(const CObjectManager& manager, const CManagedObject* object) {
    for (int i = 0; i < CObjectManager::MAX_OBJECTS; ++i)
        if (manager.members[i] == object) return i;
    return -1;
}

class WorldObjectManager : public ::testing::Test {
protected:
    // A probe registered with the manager, writing its id to the log when drawn.
    Probe* Make(int id) { return new Probe(d, &manager, &log, id); }

    world_test::Device d;
    CObjectManager manager{d.device, nullptr, d.camera(), d.timer()};
    std::vector<int> log;
};

}  // namespace

TEST_F(WorldObjectManager, SlotsFillInOrderAndTheSeventeenthIsNeverDrawn) {
    std::vector<Probe*> probes;
    for (int k = 0; k < 16; ++k) {
        probes.push_back(Make(k));
        EXPECT_EQ(SlotOf(manager, probes.back()), k);
    }
    int extraDeleted = 0;
    Probe* extra = Make(99);
    extra->deleted = &extraDeleted;
    EXPECT_EQ(SlotOf(manager, extra), -1);
    EXPECT_EQ(manager.Add(extra), -1);  // still full

    manager.RenderPass(1);
    manager.Pause();
    EXPECT_EQ(extra->renders, 0);
    EXPECT_EQ(extra->bPaused, 1);
    extra->bPaused = 0;
    manager.Resume();
    manager.Pause();
    EXPECT_EQ(extra->bPaused, 0);  // not fanned out to

    ASSERT_EQ(log.size(), 16u);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(log[k], k);

    delete extra;  // changes no slot
    EXPECT_EQ(extraDeleted, 1);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(manager.members[k], probes[k]);
    for (Probe* p : probes) delete p;
    for (CManagedObject* member : manager.members) EXPECT_EQ(member, nullptr);
}

TEST_F(WorldObjectManager, OnlyTheGivenPassIsDrawnInItsAlphaStatesAndAFlaggedObjectGoesInEitherPass) {
    Probe* a = Make(0);
    Probe* b = Make(1);
    b->byPass = 0;
    d.device->SetRenderState(D3DRS_ALPHAREF, 0);
    d.device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    d.device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    d.device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    manager.RenderPass(0);
    manager.RenderPass(1);
    EXPECT_EQ(log, (std::vector<int>{1, 0}));
    EXPECT_EQ(d.RenderState(D3DRS_ALPHAREF), 64u);
    EXPECT_EQ(d.RenderState(D3DRS_ALPHATESTENABLE), DWORD(TRUE));
    EXPECT_EQ(d.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
    EXPECT_EQ(d.StageState(D3DTSS_ALPHAOP), DWORD(D3DTOP_MODULATE));

    int deleted = 0;
    a->deleted = &deleted;
    a->bRemove = 1;  // drawn in pass 1, flagged: deleted by pass 0 all the same
    manager.RenderPass(0);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(manager.members[0], nullptr);
    EXPECT_EQ(manager.members[1], b);
    delete b;
}

TEST_F(WorldObjectManager, TwoRemovalsInOneFrameFreeBothAndTheNextTakesTheLowerSlot) {
    std::vector<Probe*> probes;
    for (int k = 0; k < 6; ++k) probes.push_back(Make(k));
    int deleted = 0;
    probes[4]->deleted = &deleted;
    probes[2]->deleted = &deleted;
    probes[4]->onRender = [&] { probes[4]->bRemove = 1; };
    probes[2]->onRender = [&] { probes[2]->bRemove = 1; };
    manager.RenderPass(1);  // both flag themselves while drawn
    EXPECT_EQ(deleted, 0);
    manager.RenderPass(0);
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(manager.members[2], nullptr);
    EXPECT_EQ(manager.members[4], nullptr);
    Probe* next = Make(7);
    EXPECT_EQ(SlotOf(manager, next), 2);
    delete next;
    for (int k : {0, 1, 3, 5}) delete probes[k];
}

TEST_F(WorldObjectManager, AnObjectMadeDuringAPassIsDrawnAtOnceOnlyInALaterSlot) {
    std::vector<Probe*> probes;
    for (int k = 0; k < 4; ++k) probes.push_back(Make(k));
    delete probes[1];  // slot 1 free
    probes[1] = nullptr;

    // Made while slot 2 draws: it lands in slot 1, before the one drawing, so it waits.
    Probe* early = nullptr;
    probes[2]->onRender = [&] {
        if (!early) early = Make(10);
    };
    manager.RenderPass(1);
    EXPECT_EQ(SlotOf(manager, early), 1);
    EXPECT_EQ(log, (std::vector<int>{0, 2, 3}));
    log.clear();

    // Made while slot 0 draws: it lands in slot 4, after the one drawing, and is drawn at once.
    Probe* late = nullptr;
    probes[0]->onRender = [&] {
        if (!late) late = Make(11);
    };
    manager.RenderPass(1);
    EXPECT_EQ(SlotOf(manager, late), 4);
    EXPECT_EQ(log, (std::vector<int>{0, 10, 2, 3, 11}));

    // A member that deletes another member while drawn: the slot is simply found empty.
    log.clear();
    probes[0]->onRender = [&] {
        delete probes[3];
        probes[3] = nullptr;
    };
    manager.RenderPass(1);
    EXPECT_EQ(log, (std::vector<int>{0, 10, 2, 11}));
    for (Probe* p : {probes[0], probes[2], early, late}) delete p;
}

TEST_F(WorldObjectManager, NothingLeaksThatFoundNoSlotOrWasLeftAtShutDown) {
    int deleted = 0;
    {
        CObjectManager owner(d.device, nullptr, d.camera(), d.timer());
        std::vector<Probe*> probes;
        for (int k = 0; k < 18; ++k) {
            probes.push_back(new Probe(d, &owner, nullptr, k));
            probes.back()->deleted = &deleted;
        }
        // An object without a slot that asks for removal is deleted by the next pass.
        probes[17]->bRemove = 1;
        owner.RenderPass(0);
        EXPECT_EQ(deleted, 1);
        // One member deleted by its owner, the rest left to the manager.
        delete probes[3];
        EXPECT_EQ(deleted, 2);
    }
    EXPECT_EQ(deleted, 18);
}
