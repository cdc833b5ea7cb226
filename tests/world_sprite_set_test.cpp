// world_sprite_set_test.cpp -- sprite placement, ageing, expiry and the billboards facing the camera.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <vector>

#include "world/object_manager.h"
#include "world/sprite_set.h"
#include "world/texture_manager.h"
#include "world_device.h"

using namespace world_test;

namespace {

// A world on a 12 x 12 map of the given ground, with one sprite set in its manager.
struct SpriteFixture : WorldInDir {
    explicit SpriteFixture(const HeightFn& height = [](float, float) { return 0.0f; })
        : WorldInDir(MakeTerrainFile(12, 12, 2, height), D3DXVECTOR3(60, 60, 5)),
          set(NewSet()) {}
    ~SpriteFixture() { delete set; }
    // A sprite standing at (50, 50, 1) with an 8 x 8 texture in slot 0.
    int AddShownSprite(const std::function<DWORD(int x, int y)>& texel) {
        world->pTextureManager->textures[0] = d.MakeTexture(8, 8, texel);
        const int i = set->AddRandomSprite();
        set->sprites[i].vPos = D3DXVECTOR3(50, 50, 1);
        set->sprites[i].iTexture = 0;
        return i;
    }
    // One frame seen level from the eye towards (50, 50, 1): the whole pass 1, or the set alone.
    void DrawFrom(const D3DXVECTOR3& eye, D3DCOLOR clear = 0xFF0000FF, bool wholePass = true) {
        d.cameraPos = eye;
        d.LookAtFrom(eye, D3DXVECTOR3(50, 50, 1), D3DXVECTOR3(0, 0, 1));
        d.BeginFrame(clear);
        world->SetRenderStates(0);
        if (wholePass)
            world->pObjectManager->RenderPass(1);
        else
            set->Render();
        d.EndFrame();
    }
    CSpriteSet* set;
};

// A set that counts its per-sprite updates and places each sprite itself.
struct CountingSet : CSpriteSet {
    using CSpriteSet::CSpriteSet;
    void UpdateSprite(int index) override {
        updates.push_back(index);
        matWorld._41 = sprites[index].vPos.x;
        matWorld._42 = sprites[index].vPos.y;
        matWorld._43 = sprites[index].vPos.z;
    }
    std::vector<int> updates;
};

}  // namespace

TEST(WorldSpriteSet, SpritesArePlacedOnTheGroundUntilTheSetIsFullAndAFreedRecordIsTakenFirst) {
    SpriteFixture f([](float x, float y) { return 0.05f * x + 0.02f * y; });
    srand(1);
    const int first = f.set->AddRandomSprite();
    ASSERT_EQ(first, 0);
    const SSprite& s = f.set->sprites[0];
    // The generator's first draws are 41 and 18467: x = 41 * 80 / 32767 + 20, y = 18467 * 80 / 32767 + 20.
    EXPECT_NEAR(s.vPos.x, 20.1001f, 1e-4f);
    EXPECT_NEAR(s.vPos.y, 65.0868f, 1e-4f);
    EXPECT_NEAR(s.vPos.z, 0.05f * 20.1001f + 0.02f * 65.0868f + 0.25f, 1e-4f);
    EXPECT_EQ(s.bActive, 1);
    EXPECT_EQ(f.set->bDirty, 1);
    // The corners: a 0.5 square in the sprite's y-z plane, u along y, v down z, opaque white.
    const float corners[4][5] = {{0, -0.25f, -0.25f, 0, 1}, {0, -0.25f, 0.25f, 0, 0}, {0, 0.25f, -0.25f, 1, 1},
                                 {0, 0.25f, 0.25f, 1, 0}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(s.vertices[k].vPos, D3DXVECTOR3(corners[k][0], corners[k][1], corners[k][2]));
        EXPECT_EQ(s.vertices[k].fU, corners[k][3]);
        EXPECT_EQ(s.vertices[k].fV, corners[k][4]);
        EXPECT_EQ(s.vertices[k].dwColor, 0xFFFFFFFFu);
    }
    // Every sprite lies from 20 to 100 on both axes, 0.25 above the ground.
    for (int k = 1; k < 64; ++k) {
        const int index = f.set->AddRandomSprite();
        ASSERT_EQ(index, k);
        const SSprite& t = f.set->sprites[index];
        EXPECT_TRUE(t.vPos.x >= 20.0f && t.vPos.x <= 100.0f) << k << ": " << t.vPos.x;
        EXPECT_TRUE(t.vPos.y >= 20.0f && t.vPos.y <= 100.0f) << k << ": " << t.vPos.y;
        EXPECT_NEAR(t.vPos.z, f.world->pMap->GetHeight(t.vPos.x, t.vPos.y) + 0.25f, 1e-5f);
    }
    // The full set gives -1; a freed record is taken first.
    f.set->sprites[9].fHealth = 12.5f;
    f.set->sprites[9].iTexture = 3;
    EXPECT_EQ(f.set->AddRandomSprite(), -1);
    f.set->RemoveSprite(5);
    f.set->RemoveSprite(9);
    f.set->RemoveSprite(9);  // an inactive record stays inactive
    EXPECT_EQ(f.set->sprites[9].bActive, 0);
    EXPECT_EQ(f.set->AddRandomSprite(), 5);
    f.set->sprites[9].fTimer = 4.0f;
    f.set->sprites[9].dwFlags = 0x40;
    EXPECT_EQ(f.set->AddRandomSprite(), 9);
    // The game's fields keep their values; the engine's are cleared.
    EXPECT_EQ(f.set->sprites[9].fHealth, 12.5f);
    EXPECT_EQ(f.set->sprites[9].iTexture, 3);
    EXPECT_EQ(f.set->sprites[9].fTimer, 0.0f);
    EXPECT_EQ(f.set->sprites[9].dwFlags, 0u);
}

TEST(WorldSpriteSet, SpritesAgeOnlyWhileTheSetRunsAndExpireAfterTheirLastFrame) {
    SpriteFixture f;
    CountingSet* set = f.NewSet<CountingSet>();
    set->bCustomUpdate = 1;
    set->bExpire = 1;
    const int a = set->AddRandomSprite();
    const int b = set->AddRandomSprite();
    set->sprites[a].fLifetime = 2.0f;
    set->sprites[b].fLifetime = 100.0f;
    f.d.timerObj.fFrameTime = 500.0f;

    // Paused (as every new set): drawn and updated every frame, never older.
    for (int k = 0; k < 6; ++k) set->Render();
    EXPECT_EQ(set->sprites[a].fAge, 0.0f);
    EXPECT_EQ(set->updates.size(), 12u);
    EXPECT_EQ(set->sprites[a].bActive, 1);

    set->Resume();
    for (int k = 1; k <= 4; ++k) {
        set->updates.clear();
        set->Render();
        EXPECT_EQ(set->sprites[a].fAge, 0.5f * k);
        EXPECT_EQ(set->updates, (std::vector<int>{a, b})) << "frame " << k;  // still handled in its last frame
    }
    EXPECT_EQ(set->sprites[a].bActive, 0);
    set->updates.clear();
    set->Render();
    EXPECT_EQ(set->updates, (std::vector<int>{b}));
    // Paused again: ages stop where they were, and resume from there.
    set->Pause();
    set->Render();
    EXPECT_EQ(set->sprites[b].fAge, 2.5f);
    set->Resume();
    set->Render();
    EXPECT_EQ(set->sprites[b].fAge, 3.0f);

    // A set that does not expire keeps its sprites however old.
    set->bExpire = 0;
    set->sprites[b].fLifetime = 0.0f;
    set->Render();
    EXPECT_EQ(set->sprites[b].bActive, 1);
    delete set;
}

TEST(WorldSpriteSet, TheTurnPointsTheFaceAlongTheHorizontalDirectionFromTheCamera) {
    SpriteFixture f;
    const int i = f.set->AddRandomSprite();
    f.set->sprites[i].vPos = D3DXVECTOR3(50, 50, 1);
    // Straight along +y the angle is pi/2, along -y it is -pi/2.
    const float directions[][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}, {3, 4}, {-2, 0.5f}, {0.1f, -7}, {-1, -1},
                                   {0, 10}, {0, -10}};
    for (const auto& dir : directions) {
        SCOPED_TRACE(testing::Message() << dir[0] << "," << dir[1]);
        f.d.cameraPos = D3DXVECTOR3(50 - dir[0], 50 - dir[1], 3);
        f.set->Render();
        const D3DXMATRIX& m = f.set->matWorld;
        const float length = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1]);
        const double turn = std::atan2(m._12, m._11) - std::atan2(dir[1], dir[0]);
        EXPECT_NEAR(std::remainder(turn, 2 * D3DX_PI), 0.0, 1e-6);
        EXPECT_NEAR(m._11, dir[0] / length, 1e-5f);
        EXPECT_NEAR(m._12, dir[1] / length, 1e-5f);
        EXPECT_NEAR(m._21, -dir[1] / length, 1e-5f);
        EXPECT_NEAR(m._22, dir[0] / length, 1e-5f);
        EXPECT_EQ(m._33, 1.0f);
        EXPECT_EQ(D3DXVECTOR3(m._41, m._42, m._43), D3DXVECTOR3(50, 50, 1));
    }
    // A sprite right at the camera gets a defined turn.
    f.d.cameraPos = D3DXVECTOR3(50, 50, 1);
    f.set->Render();
    for (int k = 0; k < 16; ++k) EXPECT_TRUE(std::isfinite((&f.set->matWorld._11)[k]));
    EXPECT_EQ(f.set->matWorld._11, 1.0f);
}

TEST(WorldSpriteSet, TheBillboardFacesTheCameraUnmirroredFromFourSides) {
    SpriteFixture f;
    // Left half red, right half green, fully opaque.
    const int i = f.AddShownSprite([](int x, int) { return x < 4 ? 0xFFFF0000u : 0xFF00FF00u; });
    f.world->Resume();
    for (const D3DXVECTOR3& side : {D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0),
                                    D3DXVECTOR3(-1, 0, 0)}) {
        f.DrawFrom(D3DXVECTOR3(50, 50, 1) + side);
        ExpectColorNear(f.d.Pixel(26, 32), 0xFFFF0000, 2);
        ExpectColorNear(f.d.Pixel(38, 32), 0xFF00FF00, 2);
        ExpectColorNear(f.d.Pixel(2, 2), 0xFF0000FF, 0);  // the square is small: the corner is clear
    }
    // An inactive sprite is not drawn.
    f.set->RemoveSprite(i);
    f.DrawFrom(D3DXVECTOR3(50, 49, 1));
    ExpectColorNear(f.d.Pixel(26, 32), 0xFF0000FF, 0);
}

TEST(WorldSpriteSet, TextureAlphaBelowTheSetsReferenceIsCut) {
    SpriteFixture f;
    // Alpha 3 on the left, 4 on the right: the base set's reference is 4.
    f.AddShownSprite([](int x, int) { return x < 4 ? 0x03FFFFFFu : 0x04FFFFFFu; });
    f.DrawFrom(D3DXVECTOR3(50, 49, 1), 0xFF000000, false);
    EXPECT_EQ(f.d.Pixel(26, 32) & 0xFFFFFF, 0x000000u);  // alpha 3: not drawn
    const DWORD kept = f.d.Pixel(38, 32) & 0xFF;          // alpha 4: blended, 4/255 of white
    EXPECT_GE(kept, 3u);
    EXPECT_LE(kept, 5u);
}
