// world_clouds_test.cpp -- the cloud square: its size from the map, its states and its alpha cut at 64.
#include <gtest/gtest.h>

#include "world/clouds.h"
#include "world_device.h"

using namespace world_test;

namespace {

std::vector<SCloudVertex> ReadSquare(CSky* sky) {
    std::vector<SCloudVertex> square;
    BYTE* data = nullptr;
    if (!sky->pVB_clouds || FAILED(sky->pVB_clouds->Lock(0, 0, &data, D3DLOCK_READONLY))) return square;
    const SCloudVertex* v = reinterpret_cast<const SCloudVertex*>(data);
    square.assign(v, v + 4);
    sky->pVB_clouds->Unlock();
    return square;
}

}  // namespace

TEST(WorldClouds, TheSquareIsTwiceTheMapAndFollowsEachNewMap) {
    WorldInDir f({}, D3DXVECTOR3(50, 50, 5), false);
    layer::ClearShownMessageBoxes();
    for (auto [x, y] : {std::pair(12, 12), {10, 8}}) {
        WriteBytes("teren.ter", MakeFlatTerrainFile(x, y, 1, 0.0f));
        f.world->LoadMap("teren.ter");
        ASSERT_NE(f.world->pSky, nullptr);
        const std::vector<SCloudVertex> square = ReadSquare(f.world->pSky);
        ASSERT_EQ(square.size(), 4u);
        const float w = 10.0f * x, h = 10.0f * y;
        const float expected[4][4] = {{-w, -h, 0, 0}, {w, -h, 0, 1}, {-w, h, 1, 0}, {w, h, 1, 1}};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(square[k].vPos, D3DXVECTOR3(expected[k][0], expected[k][1], 6.0f)) << x << "x" << y;
            EXPECT_EQ(square[k].vNormal, D3DXVECTOR3(0, 0, 1));
            EXPECT_EQ(square[k].fU, expected[k][2]);
            EXPECT_EQ(square[k].fV, expected[k][3]);
        }
    }
    // Without clouds.tga the layer still stands, untextured, and says so.
    EXPECT_EQ(f.world->pSky->pTexture, nullptr);
    EXPECT_TRUE(BoxShown("D3DXCreateTextureFromFileEx - clouds.tga"));
}

TEST(WorldClouds, SeenFromBelowTexelsUnderAlpha64AreNotDrawnAndTheRestBlend) {
    const D3DXVECTOR3 eye(0, 0, -4);
    WorldInDir f(MakeFlatTerrainFile(2, 2, 1, 0.0f), eye, false);
    Device& d = f.d;
    // Columns (u, along y) below the middle white at alpha 63; above it, rows (v, along x) below
    // the middle white at alpha 64 and the rest opaque black, which the key makes transparent.
    WritePicture("clouds.tga", 64, 64, true,
                 [](int x, int y) { return x < 32 ? 0x3FFFFFFFu : (y < 32 ? 0x40FFFFFFu : 0xFF000000u); });
    f.world->LoadMap("teren.ter");
    ASSERT_NE(f.world->pSky->pTexture, nullptr);
    // From below the layer, looking up with x as up: the screen's left is the world's +y and its
    // top the world's +x. The square spans -20 to 20: u and v run from 0.25 to 0.75 on screen.
    d.LookAtFrom(eye, D3DXVECTOR3(0, 0, 6), D3DXVECTOR3(1, 0, 0));
    d.BeginFrame(0xFF000000);
    f.world->SetRenderStates(0);
    f.world->pSky->Render();
    d.EndFrame();
    // Over y > 0 and x < 0 alpha 64: white blended at 64/255 over black; over y < 0 alpha 63 and
    // over the keyed black: not drawn.
    const DWORD kept = d.Pixel(8, 56) & 0xFFFFFF;
    EXPECT_EQ(d.Pixel(56, 56) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.Pixel(56, 8) & 0xFFFFFF, 0u);
    EXPECT_EQ(d.Pixel(8, 8) & 0xFFFFFF, 0u);
    EXPECT_NEAR(int(kept & 0xFF), 64, 2);
    EXPECT_NEAR(int((kept >> 8) & 0xFF), 64, 2);

    // The states it draws with: the texture's alpha alone, tested at 64, blended.
    EXPECT_EQ(d.StageState(D3DTSS_ALPHAOP), DWORD(D3DTOP_SELECTARG1));
    EXPECT_EQ(d.RenderState(D3DRS_ALPHAREF), 64u);
    EXPECT_EQ(d.RenderState(D3DRS_ALPHATESTENABLE), DWORD(TRUE));
    EXPECT_EQ(d.RenderState(D3DRS_ALPHABLENDENABLE), DWORD(TRUE));
}
