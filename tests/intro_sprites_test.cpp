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
        SetConfigDefaults();
        g_Config.dwWidth = 640;
        g_Config.dwHeight = 480;
        g_Timer.fFrameTime = 0.0f;
        std::srand(1);
    }
    void TearDown() override {
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        std::memset(g_bIntroFired, 0, sizeof g_bIntroFired);
        g_iLastEdgePoint = -1;
        std::srand(1);
    }

    // One fill with the given frame time; the number of sprites written.
    int Fill(float frameMs) {
        g_Timer.fFrameTime = frameMs;
        DWORD count = 0;
        FillIntroSprites(vertices_, &count);
        return int(count / 4);
    }

    static int Live() {
        int n = 0;
        for (const SIntroSprite& s : g_IntroSprites) n += s.bActive;
        return n;
    }

    SVertex2D vertices_[4 * MAX_INTRO_SPRITES] = {};
};

}  // namespace

TEST_F(IntroSprites, AKeyAddsOnceAndAFullPoolSpendsItsKey) {
    for (int frame = 0; frame < 10; ++frame) AddIntroSprite(6, 320, 240, 3.0f, ISF_GROW | ISF_PULSE, 5);
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(g_bIntroFired[5], 1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) AddIntroSprite(k % 6, float(k), 0, 1.0f, 0, -1);
    ASSERT_EQ(Live(), MAX_INTRO_SPRITES);

    SIntroSprite before[MAX_INTRO_SPRITES];
    std::memcpy(before, g_IntroSprites, sizeof before);
    AddIntroSprite(7, 100, 100, 2.0f, ISF_FADE, 7);
    AddIntroSpriteArgs(7, 100, 100, 2.0f, ISF_FADE, -1);
    EXPECT_EQ(std::memcmp(before, g_IntroSprites, sizeof before), 0) << "a full pool changes nothing";
    EXPECT_EQ(g_bIntroFired[7], 1) << "the dropped event's key is spent";

    // The key -1 sprites expire after 1 s; the keyed event never comes back, a new one does.
    EXPECT_EQ(Fill(1500.0f), 1);
    AddIntroSprite(7, 100, 100, 2.0f, ISF_FADE, 7);
    EXPECT_EQ(Live(), 1);
    AddIntroSprite(8, 100, 100, 2.0f, ISF_FADE, 8);
    AddIntroSprite(8, 100, 100, 2.0f, ISF_FADE, -1);
    AddIntroSprite(8, 100, 100, 2.0f, ISF_FADE, -1);
    EXPECT_EQ(Live(), 4);
    int fired = 0;
    for (int k = 0; k < INTRO_EVENT_KEYS; ++k) fired += g_bIntroFired[k];
    EXPECT_EQ(fired, 3);  // keys 5, 7 and 8
}

TEST_F(IntroSprites, ASpriteLivesThroughItsWholeDurationAndLaterOnesMoveDown) {
    AddIntroSprite(0, 200, 100, 2.0f, 0x212, -1);
    for (int frame = 1; frame <= 4; ++frame) EXPECT_EQ(Fill(500.0f), 1) << "age " << frame * 0.5;
    EXPECT_EQ(g_IntroSprites[0].fAge, 2.0f);  // drawn at exactly its duration
    EXPECT_EQ(Fill(1.0f), 0);
    EXPECT_EQ(g_IntroSprites[0].bActive, 0);

    // Slot 0 expires while the 31 behind it live: each moves down one place and ages once.
    AddIntroSprite(1, 0, 0, 0.5f, 0, -1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) AddIntroSprite(k % 18, float(k), 0, 5.0f, 0, -1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k) g_IntroSprites[k].fAge = 0.1f * float(k);
    EXPECT_EQ(Fill(600.0f), MAX_INTRO_SPRITES - 1);
    for (int k = 0; k + 1 < MAX_INTRO_SPRITES; ++k) {
        const SIntroSprite& s = g_IntroSprites[k];
        ASSERT_EQ(s.bActive, 1) << k;
        EXPECT_EQ(s.iImage, (k + 1) % 18) << k;
        EXPECT_FLOAT_EQ((s.fLeft + s.fRight) / 2, float(k + 1)) << k;
        EXPECT_FLOAT_EQ(s.fAge, 0.1f * float(k + 1) + 0.6f) << k;
    }
    EXPECT_EQ(g_IntroSprites[MAX_INTRO_SPRITES - 1].bActive, 0);
}

TEST_F(IntroSprites, EachImageTypeHasItsSize) {
    const float half[INTRO_IMAGE_TYPES][2] = {
        {64, 64},   {64, 64},   {64, 64},       {64, 64},   {64, 64},   {64, 64},
        {95, 135},  {88, 113},  {130.5, 100.5}, {116, 175}, {210, 139}, {149, 175},
        {175, 131}, {143, 175}, {175, 124},     {126, 175}, {175, 125}, {200, 200},
    };
    for (int image = 0; image < INTRO_IMAGE_TYPES; ++image) {
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        AddIntroSprite(image, 320, 240, 1.0f, 0, -1);
        const SIntroSprite& s = g_IntroSprites[0];
        EXPECT_EQ(s.fLeft, 320 - half[image][0]) << image;
        EXPECT_EQ(s.fRight, 320 + half[image][0]) << image;
        EXPECT_EQ(s.fTop, 240 - half[image][1]) << image;
        EXPECT_EQ(s.fBottom, 240 + half[image][1]) << image;
    }
    // Photo 3 in the middle of a 640 x 480 screen.
    std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
    AddIntroSprite(8, 320, 240, 1.0f, 0, -1);
    EXPECT_EQ(g_IntroSprites[0].fLeft, 189.5f);
    EXPECT_EQ(g_IntroSprites[0].fTop, 139.5f);
    EXPECT_EQ(g_IntroSprites[0].fRight, 450.5f);
    EXPECT_EQ(g_IntroSprites[0].fBottom, 340.5f);
    // Types and keys outside the tables add nothing.
    std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
    AddIntroSprite(18, 0, 0, 1.0f, 0, -1);
    AddIntroSprite(-1, 0, 0, 1.0f, 0, -1);
    AddIntroSprite(0, 0, 0, 1.0f, 0, 256);
    AddIntroSprite(0, 0, 0, 1.0f, 0, -2);
    SpawnRandomVugaSprite(300);
    EXPECT_EQ(Live(), 0);
}

TEST_F(IntroSprites, VerticesScaleSlideAndLevelByAgeAndFlags) {
    struct Case {
        DWORD flags;
        float t;
        float scale, dx, dy;
        DWORD level;
    } cases[] = {
        {0x084, 0.0f, 1.0f, 0, 0, 0},     {0x204, 0.0f, 1.0f, 0, 0, 255},   {0x004, 0.0f, 1.0f, 0, 0, 128},
        {0x001, 0.0f, 1.0f, 0, 0, 128},   {0x000, 1.0f, 2.0f, 0, 0, 128},   {0x004, 1.0f, 2.0f, 0, 0, 128},
        {0x001, 1.0f, 0.5f, 0, 0, 128},   {0x204, 1.0f, 2.0f, 0, 0, 45},    {0x084, 1.0f, 2.0f, 0, 0, 0},
        {0x084, 0.5f, 1.5f, 0, 0, 254},   {0x018, 0.5f, 1.5f, -160, 0, 128}, {0x003, 1.0f, 1.0f, 0, 0, 128},
        {0x010, 0.5f, 1.5f, 160, 0, 128}, {0x060, 0.5f, 1.5f, 0, -120, 128}, {0x050, 1.0f, 2.0f, 320, 240, 128},
        {0x180, 0.25f, 1.25f, 0, 0, 255}, {0x080, 0.25f, 1.25f, 0, 0, 180}, {0x380, 0.25f, 1.25f, 0, 0, 202},
        {0x212, 0.5f, 1.0f, 160, 0, 150}, {0x20A, 1.0f, 1.0f, -320, 0, 45},
    };
    // (At half life the sine of the single-precision half turn falls just short of 1: level 254.)
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags << std::dec << " at t " << c.t);
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        AddIntroSprite(8, 320, 240, 2.0f, c.flags, -1);
        g_IntroSprites[0].fAge = 2.0f * c.t;
        ASSERT_EQ(Fill(0.0f), 1);
        const float right = 320 + 130.5f * c.scale + c.dx, left = 320 - 130.5f * c.scale + c.dx;
        const float top = 240 - 100.5f * c.scale + c.dy, bottom = 240 + 100.5f * c.scale + c.dy;
        const float want[4][4] = {{right, top, 1, 0}, {left, top, 0, 0}, {right, bottom, 1, 1}, {left, bottom, 0, 1}};
        for (int k = 0; k < 4; ++k) {
            const SVertex2D& v = vertices_[k];
            EXPECT_NEAR(v.x, want[k][0], 1e-3f) << "vertex " << k;
            EXPECT_NEAR(v.y, want[k][1], 1e-3f) << "vertex " << k;
            EXPECT_EQ(v.u, want[k][2]);
            EXPECT_EQ(v.v, want[k][3]);
            EXPECT_EQ(v.z, 0.0f);
            EXPECT_EQ(v.rhw, 1.0f);
            EXPECT_EQ(v.colour, c.level * 0x01010101u);
        }
    }
}

TEST_F(IntroSprites, VerticesOfSeveralSpritesFollowEachOtherInSlotOrder) {
    AddIntroSprite(0, 100, 100, 2.0f, ISF_FIXEDSIZE | ISF_OPAQUE, -1);
    AddIntroSprite(17, 400, 300, 2.0f, ISF_FIXEDSIZE | ISF_OPAQUE, -1);
    DWORD count = 8;  // the fill starts where the caller says
    g_Timer.fFrameTime = 16.0f;
    FillIntroSprites(vertices_, &count);
    EXPECT_EQ(count, 16u);
    EXPECT_EQ(vertices_[8].x, 164.0f);   // right edge of the VUGA picture
    EXPECT_EQ(vertices_[12].x, 600.0f);  // right edge of the closing picture
    EXPECT_EQ(vertices_[15].y, 500.0f);
    EXPECT_FLOAT_EQ(g_IntroSprites[0].fAge, 0.016f);
}

TEST_F(IntroSprites, VugaPicturesFlyInFromAnEdgePointNeverTheSameTwiceRunning) {
    struct Start {
        float x, y;
        DWORD flags;
    } points[8] = {{200, 100, 0x212}, {100, 200, 0x242}, {200, 380, 0x212}, {100, 280, 0x222},
                   {440, 380, 0x20A}, {540, 280, 0x222}, {440, 100, 0x20A}, {540, 200, 0x242}};
    std::set<int> pointsSeen, imagesSeen;
    int previous = -1;
    for (int n = 0; n < 200; ++n) {
        // The draws come in this order: the point, again while it repeats the last one, then the image.
        const unsigned seed = 1000u + unsigned(n);
        std::srand(seed);
        int point;
        do {
            point = RandomInt(8);
        } while (point == previous);
        const int image = RandomInt(6);

        std::srand(seed);
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        SpawnRandomVugaSprite(-1);
        const SIntroSprite& s = g_IntroSprites[0];
        ASSERT_EQ(s.bActive, 1);
        ASSERT_EQ(g_iLastEdgePoint, point);
        EXPECT_EQ(s.iImage, image);
        EXPECT_EQ((s.fLeft + s.fRight) / 2, points[point].x) << "point " << point;
        EXPECT_EQ((s.fTop + s.fBottom) / 2, points[point].y) << "point " << point;
        EXPECT_EQ(s.dwFlags, points[point].flags) << "point " << point;
        EXPECT_EQ(s.fDuration, 2.0f);
        previous = point;
        pointsSeen.insert(point);
        imagesSeen.insert(image);
    }
    EXPECT_EQ(pointsSeen.size(), 8u);
    EXPECT_EQ(imagesSeen.size(), 6u);
    for (int k = 0; k < INTRO_EVENT_KEYS; ++k) ASSERT_EQ(g_bIntroFired[k], 0) << "key -1 spends no key";
}

TEST_F(IntroSprites, AVugaKeyThatFiredDrawsNoRandomNumber) {
    g_bIntroFired[70] = 1;
    g_iLastEdgePoint = 3;
    std::srand(9);
    const int first = std::rand();
    std::srand(9);
    SpawnRandomVugaSprite(70);
    EXPECT_EQ(std::rand(), first);
    EXPECT_EQ(g_iLastEdgePoint, 3);
    EXPECT_EQ(Live(), 0);

    SpawnRandomVugaSprite(71);
    SpawnRandomVugaSprite(71);
    EXPECT_EQ(Live(), 1);
    EXPECT_EQ(g_bIntroFired[71], 1);
    EXPECT_NE(g_iLastEdgePoint, 3);
}
