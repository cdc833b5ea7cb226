// world_world_test.cpp -- the world as a whole: its parts, pausing, shared states and drawing order.
#include <gtest/gtest.h>

#include "world/clouds.h"
#include "world/object_manager.h"
#include "world/sprite_set.h"
#include "world/texture_manager.h"
#include "world_device.h"

using namespace world_test;

namespace {

struct WorldFixture : WorldInDir {
    explicit WorldFixture(int cells = 12)
        : WorldInDir(MakeFlatTerrainFile(cells, cells, 2, 0.0f), D3DXVECTOR3(50, 50, 2)) {}
};

void ExpectAllPaused(const CWorld& world, const CSpriteSet& set, BYTE value) {
    EXPECT_EQ(world.bPaused, value);
    EXPECT_EQ(world.pMap->bPaused, value);
    EXPECT_EQ(world.pSky->bPaused, value);
    EXPECT_EQ(world.pObjectManager->bPaused, value);
    EXPECT_EQ(set.bPaused, value);
}

}  // namespace

TEST(WorldWorld, EverythingStartsPausedAndPausesAndResumesTogether) {
    WorldFixture f;
    EXPECT_EQ(f.world->iWidth, 640);
    EXPECT_EQ(f.world->iHeight, 480);
    EXPECT_EQ(f.world->pTextureManager->bPaused, 1);
    CSpriteSet* set = f.NewSet();
    ExpectAllPaused(*f.world, *set, 1);
    f.world->Pause();
    ExpectAllPaused(*f.world, *set, 1);
    f.world->Resume();
    f.world->Resume();
    ExpectAllPaused(*f.world, *set, 0);
    // Made while the world runs: paused until the next fan-out.
    CSpriteSet* later = f.NewSet();
    EXPECT_EQ(later->bPaused, 1);
    f.world->Pause();
    ExpectAllPaused(*f.world, *set, 1);
    f.world->Resume();
    EXPECT_EQ(later->bPaused, 0);
    delete later;
    delete set;
}

TEST(WorldWorld, ASecondLoadReplacesTheSkyWithAPausedOne) {
    WorldFixture f;
    f.world->Resume();
    CSky* first = f.world->pSky;
    EXPECT_EQ(first->bPaused, 0);
    f.world->LoadMap("teren.ter");
    ASSERT_NE(f.world->pSky, nullptr);
    EXPECT_EQ(f.world->pSky->bPaused, 1);
    EXPECT_EQ(f.world->pMap->bPaused, 0);
}

TEST(WorldWorld, TheSharedStatesAreSetInFull) {
    WorldFixture f;
    f.world->dwFilter = D3DTEXF_POINT;
    f.world->dwMipFilter = D3DTEXF_LINEAR;
    f.world->SetRenderStates(0);
    // Stage 0's states, then the render states; the bias is the bits of the float 1.0.
    const std::pair<D3DTEXTURESTAGESTATETYPE, DWORD> stage[] = {
        {D3DTSS_MINFILTER, D3DTEXF_POINT}, {D3DTSS_MAGFILTER, D3DTEXF_POINT},
        {D3DTSS_MIPFILTER, D3DTEXF_LINEAR}, {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
        {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
        {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
        {D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {D3DTSS_MIPMAPLODBIAS, 0x3F800000}};
    for (auto [state, value] : stage) EXPECT_EQ(f.d.StageState(state), value) << state;
    const std::pair<D3DRENDERSTATETYPE, DWORD> render[] = {
        {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
        {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL}, {D3DRS_AMBIENT, 0}, {D3DRS_LIGHTING, FALSE}};
    for (auto [state, value] : render) EXPECT_EQ(f.d.RenderState(state), value) << state;
}

TEST(WorldWorld, PassZeroIsDrawnBeforeTheCloudsAndPassOneAfterThem) {
    WorldFixture f(2);
    // Half-transparent red clouds; an opaque white sprite above them, seen through them from below.
    f.world->pSky->pTexture = f.d.MakeTexture(2, 2, [](int, int) { return 0x80FF0000u; });
    f.world->pTextureManager->textures[0] = f.d.MakeTexture(2, 2, [](int, int) { return 0xFFFFFFFFu; });
    CSpriteSet* set = f.NewSet();
    const int i = set->AddRandomSprite();
    set->sprites[i].iTexture = 0;
    set->sprites[i].vPos = D3DXVECTOR3(10, 10, 7);
    const D3DXVECTOR3 eye(10, 9, 5.5f);
    f.d.cameraPos = eye;
    f.d.LookAtFrom(eye, D3DXVECTOR3(10, 10, 7), D3DXVECTOR3(0, 0, 1));
    f.world->Resume();

    // Pass 1 comes after the clouds: their depth hides the sprite, and the clouds blend over the clear blue.
    f.d.BeginFrame();
    f.world->Render();
    f.d.EndFrame();
    ExpectColorNear(f.d.Pixel(32, 32), 0xFF80007F, 3);

    // In pass 0 it is drawn before them, and they blend over it.
    set->byPass = 0;
    f.d.BeginFrame();
    f.world->Render();
    f.d.EndFrame();
    ExpectColorNear(f.d.Pixel(32, 32), 0xFFFF7F7F, 3);
    ExpectColorNear(f.d.Pixel(2, 2), 0xFF80007F, 3);
    delete set;
}
