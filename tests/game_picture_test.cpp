// game_picture_test.cpp -- a frame of play in fog, with enemies, particles and the HUD, is the same
// picture whether the device draws it with the programs built for each state or with the general
// one.
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "game_fixture.h"

using game_test::GameTest;

namespace {

std::vector<uint32_t> BackBuffer() {
    std::vector<uint32_t> pixels;
    UINT w = 0, h = 0;
    EXPECT_TRUE(layer::ReadBackBuffer(&pixels, &w, &h));
    return pixels;
}

// The largest difference of any channel between the two pictures.
int LargestDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    int largest = a.size() == b.size() ? 0 : 255;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            largest = std::max(largest, std::abs((int)((a[i] >> shift) & 0xFF) - (int)((b[i] >> shift) & 0xFF)));
    return largest;
}

}  // namespace

TEST_F(GameTest, AFrameOfPlayIsTheSamePictureOnTheBuiltProgramsAndOnTheGeneralOne) {
    g_Config.bFog = 1;
    StartPlaying();
    for (int k = 0; k < 6; ++k) PlaceEnemy(Ahead(4.0f + 6.0f * k), k % g_GameDB.iTypeCount);
    const std::pair<CSpriteSet*, int> particles[] = {{g_pBlood, g_iTexBlood}, {g_pFlames, g_iTexFlame}, {g_pDust, g_iTexDust}};
    for (const auto& [set, texture] : particles)
        for (int k = 0; k < 40; ++k) {
            const int slot = set->AddRandomSprite();
            if (slot < 0) break;
            SSprite& particle = set->sprites[slot];
            particle.vPos = Ahead(2.0f + 0.2f * k);
            particle.iTexture = texture;
            particle.fLifetime = 1e9f;
            particle.vVelocity = D3DXVECTOR3(0, 0, 0);
        }
    Frames(3);
    // Frames of no time: the scene stands still between them.
    auto still = [&](bool generalProgram) {
        layer::ForceGeneralProgram(generalProgram);
        Frame(0);
        return BackBuffer();
    };
    const std::vector<uint32_t> built = still(false);
    const uint32_t specialised = layer::LastFrameStats().specialisedDraws;
    const std::vector<uint32_t> general = still(true);
    EXPECT_EQ(layer::LastFrameStats().specialisedDraws, 0u);
    const std::vector<uint32_t> builtAgain = still(false);
    EXPECT_GT(specialised, 10u);
    ASSERT_EQ(LargestDifference(built, builtAgain), 0) << "the scene moved between the frames";
    EXPECT_LE(LargestDifference(built, general), 1);
}
