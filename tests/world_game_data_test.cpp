// world_game_data_test.cpp -- the world on the game's own teren.ter, tex6.bmp and clouds.tga, driven
// along a path over the whole map with five full sprite sets, every frame drawn.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <utility>
#include <vector>

#include "layer/message_boxes.h"
#include "world/clouds.h"
#include "world/sprite_set.h"
#include "world/terrain.h"
#include "world/world.h"
#include "world_device.h"

namespace {

// Runs the test in the generator's data directory and comes back afterwards.
struct InDataDirectory {
    const std::filesystem::path previous = std::filesystem::current_path();
    InDataDirectory() { std::filesystem::current_path(TREVOK_DATA_DIR); }
    ~InDataDirectory() { std::filesystem::current_path(previous); }
};

// Serpentine through the middle of every cell, row by row along y, in steps of 2.5 units.
std::vector<std::pair<float, float>> PathOverTheMap(int cellsX, int cellsY) {
    std::vector<std::pair<float, float>> path;
    for (int j = 0; j < cellsY; ++j) {
        const float y = 10.0f * j + 5.0f;
        for (int s = 0; s <= 4 * (cellsX - 1); ++s) {
            const float t = 5.0f + 2.5f * s;
            path.emplace_back(j % 2 == 0 ? t : 10.0f * cellsX - t, y);
        }
    }
    return path;
}

}  // namespace

TEST(WorldGameData, TheWorldDrawsTheGamesTerrainCloudsAndSpritesAlongAPathOverTheWholeMap) {
    InDataDirectory here;
    world_test::Device d(160, 120);
    d.cameraPos = D3DXVECTOR3(60, 60, 1);
    layer::ClearShownMessageBoxes();
    CWorld world(d.device, d.camera(), d.timer());
    world.dwFilter = D3DTEXF_LINEAR;
    world.dwMipFilter = D3DTEXF_POINT;
    world.LoadMap("teren.ter");
    for (const auto& box : layer::ShownMessageBoxes()) ADD_FAILURE() << box.text;
    const CMap& map = *world.pMap;
    ASSERT_GE(map.iCellsX, 1);
    ASSERT_GE(map.iCellsY, 1);
    EXPECT_NE(map.pTexture, nullptr);
    EXPECT_NE(world.pSky->pTexture, nullptr);

    std::vector<CSpriteSet*> sets;
    for (int s = 0; s < 5; ++s) {
        CSpriteSet* set = new CSpriteSet(d.device, &world, d.camera(), d.timer(), world.pObjectManager);
        for (int k = 0; k < CSpriteSet::MAX_SPRITES; ++k) ASSERT_EQ(set->AddRandomSprite(), k);
        sets.push_back(set);
    }
    world.Resume();

    std::set<std::pair<int, int>> cellsVisited;
    const auto path = PathOverTheMap(map.iCellsX, map.iCellsY);
    for (size_t k = 0; k + 1 < path.size(); ++k) {
        const float x = path[k].first, y = path[k].second;
        const float ground = map.GetHeight(x, y);
        ASSERT_LT(ground, 65535.0f) << x << "," << y;
        d.cameraPos = D3DXVECTOR3(x, y, ground + 0.25f);
        const D3DXVECTOR3 ahead(path[k + 1].first, path[k + 1].second, ground + 0.2f);
        d.LookAt(d.cameraPos, ahead);
        d.BeginFrame(0xFF0080FF);
        world.Render();
        d.EndFrame();
        // The terrain lies under the eye: the bottom of the picture is never the clear colour.
        EXPECT_NE(d.Pixel(80, 118) & 0xFFFFFF, 0x0080FFu) << "frame " << k;
        d.device->Present(nullptr, nullptr, nullptr, nullptr);
        // The terrain, the clouds and all 320 sprites were drawn.
        EXPECT_EQ(layer::LastFrameStats().drawCalls, 2u + 5u * 64u) << "frame " << k;
        ASSERT_NE(map.pMesh, nullptr) << "frame " << k;
        cellsVisited.insert({int(x / 10), int(y / 10)});
    }
    EXPECT_EQ(cellsVisited.size(), size_t(map.iCellsX * map.iCellsY));
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    for (CSpriteSet* set : sets) delete set;
}
