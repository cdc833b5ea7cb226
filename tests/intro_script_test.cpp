// intro_script_test.cpp -- the intro's timeline without a device, fired and aged as the frames do
// it: over the whole 91 s, after a stall, and where two moments share a time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/intro_script.h"
#include "game/intro_sprites.h"
#include "shell/settings.h"
#include "shell/timer.h"

namespace {

// Each slide as a player sees it at 640 x 480: picture, centre across, seconds, flags.
const struct {
    int image;
    float x, seconds;
    DWORD flags;
} kSlides[41] = {
    {6, 320, 3, 0x084},    {7, 192, 2.1f, 0x204}, {8, 448, 1.3f, 0x204}, {6, 320, 2, 0x084},    {10, 320, 2, 0x204},
    {9, 320, 3, 0x084},    {11, 320, 2, 0x084},   {12, 320, 3.5f, 0x204}, {13, 320, 3, 0x084},   {10, 320, 2, 0x204},
    {14, 320, 4, 0x084},   {9, 448, 2, 0x084},    {6, 192, 1, 0x204},    {9, 448, 1, 0x204},    {9, 448, 1, 0x204},
    {9, 448, 1, 0x204},    {9, 448, 1, 0x204},    {6, 192, 1, 0x204},    {6, 320, 2, 0x084},    {15, 320, 4, 0x084},
    {7, 192, 2.1f, 0x204}, {8, 448, 1.3f, 0x204}, {9, 320, 4, 0x084},    {15, 320, 3, 0x204},   {14, 320, 3.5f, 0x204},
    {10, 320, 4.5f, 0x204}, {16, 320, 5, 0x084},  {7, 192, 4.1f, 0x204}, {8, 448, 3.3f, 0x204}, {15, 320, 2, 0x204},
    {10, 320, 2, 0x204},   {16, 320, 4.5f, 0x084}, {9, 320, 2, 0x204},   {10, 320, 2, 0x204},   {15, 320, 3, 0x204},
    {14, 320, 4, 0x084},   {7, 192, 1.7f, 0x204}, {8, 448, 1.3f, 0x204}, {9, 320, 2, 0x204},    {1, 320, 10, 0x084},
    {17, 320, 6, 0x081},
};

// Each picture's size, twice the half size a sprite of its image type gets.
const float kSizes[INTRO_IMAGE_TYPES][2] = {
    {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {190, 270}, {176, 226}, {261, 201},
    {232, 350}, {420, 278}, {298, 350}, {350, 262}, {286, 350}, {350, 248}, {252, 350}, {350, 250}, {400, 400}};

bool IsVuga(const SIntroSprite& s) { return (s.dwFlags & ISF_FIXEDSIZE) != 0; }
float CentreX(const SIntroSprite& s) { return (s.fLeft + s.fRight) / 2; }

class IntroScript : public ::testing::Test {
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

    // What a frame at elapsed ms does to the sprites; those it added, in slot order.
    std::vector<SIntroSprite> Frame(float elapsed, float frameMs) {
        FireIntroSlides(elapsed);
        FireIntroVugaSprites(elapsed);
        g_Timer.fFrameTime = frameMs;
        DWORD count = 0;
        FillIntroSprites(v_, &count);
        std::vector<SIntroSprite> added;
        for (const SIntroSprite& s : g_IntroSprites)
            if (s.bActive && s.fAge == frameMs / 1000.0f) added.push_back(s);
        return added;
    }
    static void ExpectFired(int lastSlide, int lastMoment) {
        for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
            EXPECT_EQ(g_bIntroFired[key], key <= lastSlide || (key >= 64 && key <= 64 + lastMoment) ? 1 : 0) << key;
    }

    SVertex2D v_[4 * MAX_INTRO_SPRITES];
};

}  // namespace

TEST_F(IntroScript, EveryEventFiresOnceStrictlyAfterItsTimeAndTheSlidesFollowTheScript) {
    EXPECT_TRUE(Frame(200.0f, 100.0f).empty());
    std::vector<SIntroSprite> slides;
    int vugas = 0;
    for (int ms = 300; ms <= 91000; ms += 100)
        for (const SIntroSprite& s : Frame(float(ms), 100.0f)) IsVuga(s) ? void(++vugas) : slides.push_back(s);
    EXPECT_EQ(vugas, 115);
    ASSERT_EQ(slides.size(), 41u);
    for (size_t k = 0; k < slides.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(slides[k].iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(slides[k]), kSlides[k].x);
        EXPECT_EQ(slides[k].fTop + slides[k].fBottom, 480.0f);
        EXPECT_EQ(slides[k].fRight - slides[k].fLeft, kSizes[kSlides[k].image][0]);
        EXPECT_EQ(slides[k].fBottom - slides[k].fTop, kSizes[kSlides[k].image][1]);
        EXPECT_EQ(slides[k].fDuration, kSlides[k].seconds);
        EXPECT_EQ(slides[k].dwFlags, kSlides[k].flags);
    }
    ExpectFired(40, 114);
}

TEST_F(IntroScript, AfterAStallEverythingDueFiresInTableOrderSlidesFirst) {
    // Slides 0..24 and moments 0..69 are due; the pool takes the slides and seven moments.
    ASSERT_EQ(Frame(50000.0f, 1.0f).size(), 32u);
    for (int k = 0; k < 25; ++k) EXPECT_TRUE(g_IntroSprites[k].iImage == kSlides[k].image && !IsVuga(g_IntroSprites[k])) << k;
    for (int k = 25; k < MAX_INTRO_SPRITES; ++k) EXPECT_TRUE(IsVuga(g_IntroSprites[k])) << k;
    ExpectFired(24, 69);
    // Five seconds on, what came due found the pool still full: spent, never shown.
    EXPECT_TRUE(Frame(55000.0f, 5000.0f).empty());
    ExpectFired(26, 75);
    EXPECT_EQ(Frame(55600.0f, 600.0f).size(), 2u);  // moments 76 and 77
}

TEST_F(IntroScript, MomentsThatShareATimeComeFromDifferentEdges) {
    Frame(44000.0f, 44000.0f);  // everything so far fires and ages away in the same frame
    std::vector<SIntroSprite> added = Frame(44311.0f, 311.0f);  // moments 60 and 63
    ASSERT_EQ(added.size(), 2u);
    EXPECT_TRUE(added[0].fLeft != added[1].fLeft || added[0].fTop != added[1].fTop);
    added = Frame(45023.0f, 712.0f);  // slide 23, then moments 61 and 64
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0].iImage, 15);
    EXPECT_TRUE(IsVuga(added[1]) && IsVuga(added[2]));
    EXPECT_TRUE(added[1].fLeft != added[2].fLeft || added[1].fTop != added[2].fTop);
}
