// world_failed_creation_test.cpp -- buffers and meshes the device would not make: reported, never
// written through or drawn, and the world goes on.
#include <gtest/gtest.h>

#include <functional>

#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "world/clouds.h"
#include "world/sprite_set.h"
#include "world_device.h"

using namespace layer;
using namespace world_test;

namespace {

struct FailureFixture : WorldInDir {
    FailureFixture() : WorldInDir(MakeFlatTerrainFile(4, 4, 2, 0.0f), D3DXVECTOR3(20, 20, 3), false) {
        d.LookAt(d.cameraPos, D3DXVECTOR3(30, 30, 0));
        ClearShownMessageBoxes();
    }
    ~FailureFixture() { ResetDeviceControl(); }
    UINT DrawCallsOf(const std::function<void()>& draw) {
        d.BeginFrame();
        const UINT before = CurrentFrameStats().drawCalls;
        draw();
        const UINT after = CurrentFrameStats().drawCalls;
        d.EndFrame();
        return after - before;
    }
};

}  // namespace

TEST(WorldFailedCreation, ASpriteSetWithoutItsBufferStillRunsItsSpritesButDrawsNone) {
    FailureFixture f;
    f.world->LoadMap("teren.ter");
    FailNextResourceCreation(E_OUTOFMEMORY);
    CSpriteSet* set = f.NewSet();
    EXPECT_EQ(set->pSpriteVB, nullptr);
    EXPECT_TRUE(BoxShown("Not enough memory."));
    set->bExpire = 1;
    const int i = set->AddRandomSprite();
    set->sprites[i].fLifetime = 1.0f;
    set->Resume();
    f.d.timerObj.fFrameTime = 600.0f;
    EXPECT_EQ(f.DrawCallsOf([&] { set->Render(); }), 0u);
    EXPECT_EQ(set->sprites[i].fAge, 0.6f);
    EXPECT_EQ(f.DrawCallsOf([&] { set->Render(); }), 0u);
    EXPECT_EQ(set->sprites[i].bActive, 0);  // expired all the same
    EXPECT_EQ(set->bDirty, 1);
    delete set;
}

TEST(WorldFailedCreation, CloudsWithoutTheirBufferAreReportedAndNotDrawn) {
    FailureFixture f;
    f.world->LoadMap("teren.ter");
    EXPECT_EQ(f.DrawCallsOf([&] { f.world->pSky->Render(); }), 1u);
    FailNextResourceCreation(E_FAIL);
    delete f.world->pSky;
    f.world->pSky = new CSky(f.d.device, f.world, f.d.camera(), f.d.timer());
    EXPECT_EQ(f.world->pSky->pVB_clouds, nullptr);
    EXPECT_TRUE(BoxShown("CreateVertexBuffer"));
    EXPECT_EQ(f.DrawCallsOf([&] { f.world->Render(); }), 1u);  // the terrain alone
}

TEST(WorldFailedCreation, ATerrainMeshThatCannotBeMadeIsReportedAndMadeAgainOnTheNextCell) {
    FailureFixture f;
    CMap& map = *f.world->pMap;
    auto drawsAt = [&](float x) {
        f.d.cameraPos.x = x;
        return f.DrawCallsOf([&] { map.Render(); });
    };
    FailNextResourceCreation(E_OUTOFMEMORY);
    map.Load("teren.ter");
    EXPECT_EQ(map.pMesh, nullptr);
    EXPECT_TRUE(BoxShown("Not enough memory."));
    EXPECT_EQ(drawsAt(20.0f), 1u);  // the first Render builds again
    ASSERT_NE(map.pMesh, nullptr);

    FailNextResourceCreation(E_FAIL);
    EXPECT_EQ(drawsAt(31.0f), 0u);  // into the next cell: the rebuild fails, nothing is drawn
    EXPECT_EQ(map.pMesh, nullptr);
    EXPECT_TRUE(BoxShown("D3DXCreateMeshFVF - pMesh"));
    EXPECT_EQ(drawsAt(31.5f), 0u);  // same cell: no new attempt
    EXPECT_EQ(drawsAt(21.0f), 1u);
    EXPECT_EQ(map.GetHeight(25.0f, 25.0f), 0.0f);  // the ground never depended on the mesh
}
