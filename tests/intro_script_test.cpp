// intro_script_test.cpp -- the intro's timeline without a device: the events fired and aged as the
// frames do it, over the whole 91 s and after a stall.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/intro_script.h"
#include "game/intro_sprites.h"
#include "shell/settings.h"
#include "shell/timer.h"

namespace {

// The script as a player sees it at 640 x 480: when each slide appears, which picture, where
// across the screen (192, 320 or 448), for how long and how.
struct Slide {
    int ms, image;
    float x, seconds;
    DWORD flags;
};
const Slide kSlides[41] = {
    {200, 6, 320, 3, 0x084},     {3379, 7, 192, 2.1f, 0x204},  {4262, 8, 448, 1.3f, 0x204},  {5000, 6, 320, 2, 0x084},
    {7535, 10, 320, 2, 0x204},   {13051, 9, 320, 3, 0x084},    {15134, 11, 320, 2, 0x084},   {16793, 12, 320, 3.5f, 0x204},
    {20000, 13, 320, 3, 0x084},  {23200, 10, 320, 2, 0x204},   {24409, 14, 320, 4, 0x084},   {27689, 9, 448, 2, 0x084},
    {29156, 6, 192, 1, 0x204},   {29838, 9, 448, 1, 0x204},    {30495, 9, 448, 1, 0x204},    {31183, 9, 448, 1, 0x204},
    {31878, 9, 448, 1, 0x204},   {32576, 6, 192, 1, 0x204},    {33147, 6, 320, 2, 0x084},    {35169, 15, 320, 4, 0x084},
    {38729, 7, 192, 2.1f, 0x204}, {39144, 8, 448, 1.3f, 0x204}, {40100, 9, 320, 4, 0x084},   {44812, 15, 320, 3, 0x204},
    {47189, 14, 320, 3.5f, 0x204}, {50640, 10, 320, 4.5f, 0x204}, {53000, 16, 320, 5, 0x084}, {58170, 7, 192, 4.1f, 0x204},
    {58716, 8, 448, 3.3f, 0x204}, {59465, 15, 320, 2, 0x204},  {61426, 10, 320, 2, 0x204},   {63176, 16, 320, 4.5f, 0x084},
    {67907, 9, 320, 2, 0x204},   {69771, 10, 320, 2, 0x204},   {71633, 15, 320, 3, 0x204},   {74000, 14, 320, 4, 0x084},
    {77710, 7, 192, 1.7f, 0x204}, {78226, 8, 448, 1.3f, 0x204}, {79115, 9, 320, 2, 0x204},   {80739, 1, 320, 10, 0x084},
    {84739, 17, 320, 6, 0x081},
};

float CentreX(const SIntroSprite& s) { return (s.fLeft + s.fRight) / 2; }
float CentreY(const SIntroSprite& s) { return (s.fTop + s.fBottom) / 2; }
bool IsVuga(const SIntroSprite& s) { return (s.dwFlags & ISF_FIXEDSIZE) != 0; }

class IntroScript : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(g_IntroSprites, 0, sizeof g_IntroSprites);
        std::memset(g_bIntroFired, 0, sizeof g_bIntroFired);
        g_iLastEdgePoint = -1;
        SetConfigDefaults();
        g_Config.dwWidth = 640;
        g_Config.dwHeight = 480;
        std::srand(1);
    }
    void TearDown() override { SetUp(); }

    // What a frame at elapsed ms does to the sprites, with the given time step.
    void Frame(float elapsed, float frameMs) {
        FireIntroSlides(elapsed);
        FireIntroVugaSprites(elapsed);
        g_Timer.fFrameTime = frameMs;
        DWORD count = 0;
        FillIntroSprites(vertices_, &count);
    }

    SVertex2D vertices_[4 * MAX_INTRO_SPRITES];
};

}  // namespace

TEST_F(IntroScript, EveryEventFiresOnceAndTheSlidesFollowTheScript) {
    std::vector<SIntroSprite> slides;
    int vugas = 0;
    for (int ms = 100; ms <= 91000; ms += 100) {
        Frame(float(ms), 100.0f);
        for (const SIntroSprite& s : g_IntroSprites) {
            if (!s.bActive || s.fAge != 0.1f) continue;  // free, or added in an earlier frame
            if (IsVuga(s))
                ++vugas;
            else
                slides.push_back(s);
        }
    }
    EXPECT_EQ(vugas, 115);
    ASSERT_EQ(slides.size(), 41u);
    for (size_t k = 0; k < slides.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "slide " << k);
        EXPECT_EQ(slides[k].iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(slides[k]), kSlides[k].x);
        EXPECT_EQ(CentreY(slides[k]), 240.0f);
        EXPECT_EQ(slides[k].fDuration, kSlides[k].seconds);
        EXPECT_EQ(slides[k].dwFlags, kSlides[k].flags);
    }
    for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
        EXPECT_EQ(g_bIntroFired[key], key <= 40 || (key >= 64 && key <= 178) ? 1 : 0) << key;
}

TEST_F(IntroScript, EventsFireStrictlyAfterTheirTime) {
    Frame(200.0f, 16.0f);
    EXPECT_EQ(g_IntroSprites[0].bActive, 0);
    Frame(200.5f, 16.0f);
    EXPECT_EQ(g_IntroSprites[0].bActive, 1);
    Frame(2053.0f, 16.0f);  // random entry 0 at 2.053 s
    EXPECT_EQ(g_bIntroFired[64], 0);
    Frame(2053.5f, 16.0f);
    EXPECT_EQ(g_bIntroFired[64], 1);
}

TEST_F(IntroScript, AfterAStallEverythingDueFiresInTableOrderSlidesFirst) {
    Frame(50000.0f, 1.0f);
    // Slides 0..24 were due, then 70 random pictures: the pool took the slides and seven of them.
    for (int k = 0; k < 25; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(g_IntroSprites[k].iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(g_IntroSprites[k]), kSlides[k].x);
        EXPECT_EQ(g_IntroSprites[k].fAge, 0.001f);
    }
    for (int k = 25; k < MAX_INTRO_SPRITES; ++k) EXPECT_TRUE(g_IntroSprites[k].bActive && IsVuga(g_IntroSprites[k])) << k;
    for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
        EXPECT_EQ(g_bIntroFired[key], key <= 24 || (key >= 64 && key <= 133) ? 1 : 0) << key;

    // Five seconds on, the new events found the pool still full: they are spent, not shown.
    Frame(55000.0f, 5000.0f);
    for (const SIntroSprite& s : g_IntroSprites) EXPECT_EQ(s.bActive, 0);
    EXPECT_EQ(g_bIntroFired[25], 1);
    EXPECT_EQ(g_bIntroFired[26], 1);
    EXPECT_EQ(g_bIntroFired[64 + 75], 1);
    Frame(55600.0f, 600.0f);
    int live = 0;
    for (const SIntroSprite& s : g_IntroSprites) live += s.bActive;
    EXPECT_EQ(live, 2);  // random entries 76 and 77 only
}
