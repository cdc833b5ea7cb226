// intro_sprites_test.cpp -- the intro sprite pool on its own: once-only keys, the full pool, expiry
// and the move down of later sprites, the vertices by age and flags, and the VUGA pictures' edges.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "game/intro_sprites.h"
#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"

namespace {

class IntroSprites : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        std::memset(g_bIntroFired, 0, sizeof g_bIntroFired);
        g_iLastEdgePoint = -1;
        g_Config.dwWidth = 640;
        g_Config.dwHeight = 480;
        std::srand(1);
    }
    void TearDown() override { SetUp(); }

    // One fill with the given frame time; the number of sprites written.
    int Fill(float frameMs) {
        std::memset(v_, 0xFF, sizeof v_);  // whatever the buffer held before
        g_Timer.fFrameTime = frameMs;
        DWORD count = 0;
        FillIntroSprites(v_, &count);
        return int(count / 4);
    }
    static int Live() {
        int n = 0;
        for (const SIntroSprite& s : g_IntroSprites) n += s.bActive;
        return n;
    }

    SVertex2D v_[4 * MAX_INTRO_SPRITES] = {};
};

}  // namespace

TEST_F(IntroSprites, AKeyAddsOnceAndAFullPoolSpendsItsKey) {
    for (int frame = 0; frame < 10; ++frame) AddIntroSprite(6, 320, 240, 3.0f, 0x084, 5);
    EXPECT_EQ(Live(), 1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) AddIntroSpriteArgs(k % 6, float(k), 0, 1.0f, 0, -1);
    ASSERT_EQ(Live(), MAX_INTRO_SPRITES);
    SIntroSprite before[MAX_INTRO_SPRITES];
    std::memcpy(before, g_IntroSprites, sizeof before);
    AddIntroSprite(7, 100, 100, 2.0f, 0x204, 7);
    EXPECT_EQ(std::memcmp(before, g_IntroSprites, sizeof before), 0) << "a full pool changes nothing";
    EXPECT_EQ(Fill(1500.0f), 1);  // the 1 s sprites are gone; the spent event never comes back
    AddIntroSprite(7, 100, 100, 2.0f, 0x204, 7);
    AddIntroSprite(8, 100, 100, 2.0f, 0x204, -1);
    AddIntroSprite(8, 100, 100, 2.0f, 0x204, -1);
    EXPECT_EQ(Live(), 3);
    int fired = 0;
    for (BYTE f : g_bIntroFired) fired += f;
    EXPECT_EQ(fired, 2);  // keys 5 and 7
    AddIntroSprite(18, 0, 0, 1.0f, 0, -1);  // image types and keys outside the tables add nothing
    AddIntroSprite(0, 0, 0, 1.0f, 0, 256);
    EXPECT_EQ(Live(), 3);
}

TEST_F(IntroSprites, ASpriteLivesThroughItsWholeDurationAndLaterOnesMoveDown) {
    AddIntroSprite(0, 200, 100, 2.0f, 0x212, -1);
    for (int frame = 1; frame <= 4; ++frame) EXPECT_EQ(Fill(500.0f), 1) << "age " << frame * 0.5;
    EXPECT_EQ(Fill(1.0f), 0);
    // Slot 0 expires while the 31 behind it live: each moves down one place and ages once.
    AddIntroSprite(1, 0, 0, 0.5f, 0, -1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) AddIntroSprite(k % 18, float(k), 0, 5.0f, 0, -1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) g_IntroSprites[k].fAge = 0.1f * float(k);
    EXPECT_EQ(Fill(600.0f), MAX_INTRO_SPRITES - 1);
    for (int k = 0; k + 1 < MAX_INTRO_SPRITES; ++k) {
        EXPECT_EQ(g_IntroSprites[k].iImage, (k + 1) % 18) << k;
        EXPECT_FLOAT_EQ(g_IntroSprites[k].fAge, 0.1f * float(k + 1) + 0.6f) << k;
    }
    EXPECT_EQ(g_IntroSprites[MAX_INTRO_SPRITES - 1].bActive, 0);
}

TEST_F(IntroSprites, VerticesScaleSlideAndLevelByAgeAndFlags) {
    AddIntroSprite(8, 320, 240, 2.0f, 0, -1);  // photo 3: 261 x 201
    EXPECT_EQ(g_IntroSprites[0].fLeft, 189.5f);
    EXPECT_EQ(g_IntroSprites[0].fTop, 139.5f);
    EXPECT_EQ(g_IntroSprites[0].fRight, 450.5f);
    EXPECT_EQ(g_IntroSprites[0].fBottom, 340.5f);
    struct Case {
        DWORD flags;
        float t, scale, dx, dy;
        DWORD level;
    } cases[] = {
        {0x084, 0, 1, 0, 0, 0},          {0x204, 0, 1, 0, 0, 255},          {0x001, 0, 1, 0, 0, 128},
        {0x000, 1, 2, 0, 0, 128},        {0x001, 1, 0.5f, 0, 0, 128},       {0x204, 1, 2, 0, 0, 45},
        {0x084, 1, 2, 0, 0, 0},          {0x084, 0.5f, 1.5f, 0, 0, 254},    {0x018, 0.5f, 1.5f, -160, 0, 128},
        {0x003, 1, 1, 0, 0, 128},        {0x060, 0.5f, 1.5f, 0, -120, 128}, {0x050, 1, 2, 320, 240, 128},
        {0x180, 0.25f, 1.25f, 0, 0, 255}, {0x380, 0.25f, 1.25f, 0, 0, 202}, {0x212, 0.5f, 1, 160, 0, 150},
    };
    // (At half life the sine of the single-precision half turn falls just short of 1: level 254.)
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags << std::dec << " at t " << c.t);
        g_IntroSprites[0].dwFlags = c.flags;
        g_IntroSprites[0].fAge = 2.0f * c.t;
        ASSERT_EQ(Fill(0.0f), 1);
        const float r = 320 + 130.5f * c.scale + c.dx, l = 320 - 130.5f * c.scale + c.dx;
        const float t = 240 - 100.5f * c.scale + c.dy, b = 240 + 100.5f * c.scale + c.dy;
        const float want[4][4] = {{r, t, 1, 0}, {l, t, 0, 0}, {r, b, 1, 1}, {l, b, 0, 1}};
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR(v_[k].x, want[k][0], 1e-3f) << k;
            EXPECT_NEAR(v_[k].y, want[k][1], 1e-3f) << k;
            EXPECT_TRUE(v_[k].u == want[k][2] && v_[k].v == want[k][3] && v_[k].z == 0.0f && v_[k].rhw == 1.0f) << k;
            EXPECT_EQ(v_[k].colour, c.level * 0x01010101u) << k;
        }
    }
}

TEST_F(IntroSprites, VugaPicturesFlyInFromAnEdgePointNeverTheSameTwiceRunning) {
    const struct {
        float x, y;
        DWORD flags;
    } points[8] = {{200, 100, 0x212}, {100, 200, 0x242}, {200, 380, 0x212}, {100, 280, 0x222},
                   {440, 380, 0x20A}, {540, 280, 0x222}, {440, 100, 0x20A}, {540, 200, 0x242}};
    std::set<int> seen;
    int previous = -1;
    for (unsigned seed = 1; seed <= 200; ++seed) {
        // The draws: the point, again while it repeats the last one, then the image.
        std::srand(seed);
        int point;
        do point = RandomInt(8);
        while (point == previous);
        const int image = RandomInt(6);
        std::srand(seed);
        g_IntroSprites[0].bActive = 0;
        SpawnRandomVugaSprite(-1);
        const SIntroSprite& s = g_IntroSprites[0];
        ASSERT_EQ(g_iLastEdgePoint, point);
        EXPECT_TRUE(s.bActive && s.iImage == image && s.fDuration == 2.0f && s.dwFlags == points[point].flags);
        EXPECT_EQ(s.fLeft + 64, points[point].x);
        EXPECT_EQ(s.fTop + 64, points[point].y);
        previous = point;
        seen.insert(point * 8 + image);
    }
    EXPECT_GT(seen.size(), 30u);
    // A key that fired draws no random number and leaves the last point.
    g_bIntroFired[70] = 1;
    g_IntroSprites[0].bActive = 0;
    std::srand(9);
    const int first = std::rand();
    std::srand(9);
    SpawnRandomVugaSprite(70);
    EXPECT_EQ(std::rand(), first);
    EXPECT_EQ(g_iLastEdgePoint, previous);
    EXPECT_EQ(Live(), 0);
}
