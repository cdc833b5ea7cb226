// intro_sprites_test.cpp -- the intro sprite pool and the timeline without a device: once-only keys,
// the full pool, expiry and the move down of later sprites, the vertices by age and flags, the VUGA
// pictures' edges, and the script over the whole 91 s, after a stall and at shared moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "game/intro_script.h"
#include "game/intro_sprites.h"
#include "intro_test_program.h"
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
    // What a frame at elapsed ms does to the sprites; those it added, in slot order.
    std::vector<SIntroSprite> Frame(float elapsed, float frameMs) {
        FireIntroSlides(elapsed);
        FireIntroVugaSprites(elapsed);
        Fill(frameMs);
        std::vector<SIntroSprite> added;
        for (const SIntroSprite& s : g_IntroSprites)
            if (s.bActive && s.fAge == frameMs / 1000.0f) added.push_back(s);
        return added;
    }
    static void ExpectFired(int lastSlide, int lastMoment) {
        for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
            EXPECT_EQ(g_bIntroFired[key], key <= lastSlide || (key >= 64 && key <= 64 + lastMoment) ? 1 : 0) << key;
    }

    SVertex2D v_[4 * MAX_INTRO_SPRITES] = {};
};

// The script's events, fired and aged as the frames do it.
class IntroScript : public IntroSprites {};

// Each slide as a player sees it at 640 x 480: the moment it is due, picture, centre across,
// seconds, flags.
const struct {
    int ms, image;
    float x, seconds;
    DWORD flags;
} kSlides[41] = {
    {200, 6, 320, 3, 0x084}, {3379, 7, 192, 2.1f, 0x204}, {4262, 8, 448, 1.3f, 0x204},
    {5000, 6, 320, 2, 0x084}, {7535, 10, 320, 2, 0x204}, {13051, 9, 320, 3, 0x084},
    {15134, 11, 320, 2, 0x084}, {16793, 12, 320, 3.5f, 0x204}, {20000, 13, 320, 3, 0x084},
    {23200, 10, 320, 2, 0x204}, {24409, 14, 320, 4, 0x084}, {27689, 9, 448, 2, 0x084},
    {29156, 6, 192, 1, 0x204}, {29838, 9, 448, 1, 0x204}, {30495, 9, 448, 1, 0x204},
    {31183, 9, 448, 1, 0x204}, {31878, 9, 448, 1, 0x204}, {32576, 6, 192, 1, 0x204},
    {33147, 6, 320, 2, 0x084}, {35169, 15, 320, 4, 0x084}, {38729, 7, 192, 2.1f, 0x204},
    {39144, 8, 448, 1.3f, 0x204}, {40100, 9, 320, 4, 0x084}, {44812, 15, 320, 3, 0x204},
    {47189, 14, 320, 3.5f, 0x204}, {50640, 10, 320, 4.5f, 0x204}, {53000, 16, 320, 5, 0x084},
    {58170, 7, 192, 4.1f, 0x204}, {58716, 8, 448, 3.3f, 0x204}, {59465, 15, 320, 2, 0x204},
    {61426, 10, 320, 2, 0x204}, {63176, 16, 320, 4.5f, 0x084}, {67907, 9, 320, 2, 0x204},
    {69771, 10, 320, 2, 0x204}, {71633, 15, 320, 3, 0x204}, {74000, 14, 320, 4, 0x084},
    {77710, 7, 192, 1.7f, 0x204}, {78226, 8, 448, 1.3f, 0x204}, {79115, 9, 320, 2, 0x204},
    {80739, 1, 320, 10, 0x084}, {84739, 17, 320, 6, 0x081},
};

// The moments of the random VUGA pictures in milliseconds, in table order (key 64 + index).
const int kMoments[INTRO_RANDOM_TIMES] = {
    2053, 2715, 3296, 6141, 6829, 7385, 9929, 10263, 10960, 11617,                // 0
    12335, 12972, 13500, 14016, 14926, 15649, 16023, 16983, 17725, 18345,         // 10
    19020, 19707, 20691, 21055, 21718, 22393, 22732, 23074, 23742, 24410,         // 20
    25087, 25739, 26108, 26779, 27102, 27676, 28470, 29112, 29820, 30429,         // 30
    31201, 31827, 32515, 33185, 33933, 34526, 35204, 35881, 36571, 37234,         // 40
    38535, 38933, 39351, 39923, 40595, 41249, 41957, 42674, 43309, 43966,         // 50
    44310, 45022, 47408, 44310, 45022, 46716, 47386, 48074, 48730, 49777,         // 60
    50760, 51422, 52120, 52748, 53426, 54129, 55166, 55501, 56171, 56844,         // 70
    57516, 58185, 58848, 59525, 60572, 60888, 61561, 61571, 62213, 62881,         // 80
    63579, 64256, 64932, 65306, 65938, 66266, 66954, 67611, 67954, 68323,         // 90
    68965, 69655, 70308, 71356, 71677, 72355, 72997, 73705, 74351, 75054,         // 100
    75711, 76801, 77732, 79082, 79759,                                            // 110
};

// Each picture's size, twice the half size a sprite of its image type gets.
const float kSizes[INTRO_IMAGE_TYPES][2] = {
    {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {190, 270}, {176, 226}, {261, 201},
    {232, 350}, {420, 278}, {298, 350}, {350, 262}, {286, 350}, {350, 248}, {252, 350}, {350, 250}, {400, 400}};

bool IsVuga(const SIntroSprite& s) { return (s.dwFlags & ISF_FIXEDSIZE) != 0; }
float CentreX(const SIntroSprite& s) { return (s.fLeft + s.fRight) / 2; }

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
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k)
        AddIntroSprite(k % 18, float(k), 0, 5.0f, 0, -1);
    for (int k = 1; k < MAX_INTRO_SPRITES; ++k)
        g_IntroSprites[k].fAge = 0.1f * float(k);
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
            EXPECT_TRUE(v_[k].u == want[k][2] && v_[k].v == want[k][3]) << k << ": " << v_[k].u << " " << v_[k].v;
            EXPECT_TRUE(v_[k].z == 0.0f && v_[k].rhw == 1.0f) << k << ": " << v_[k].z << " " << v_[k].rhw;
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
        EXPECT_TRUE(s.bActive && s.iImage == image) << s.bActive << " " << s.iImage;
        EXPECT_TRUE(s.fDuration == 2.0f && s.dwFlags == points[point].flags) << s.fDuration << " " << s.dwFlags;
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

TEST_F(IntroScript, EveryEventFiresOnceInTheFirstFramePastItsTimeAndTheSlidesFollowTheScript) {
    // A frame every millisecond of the intro: the first frame in which each key fires, and what
    // each frame adds.
    std::vector<int> firedAt(INTRO_EVENT_KEYS, -1);
    std::vector<SIntroSprite> slides;
    int vugas = 0;
    for (int ms = 0; ms <= 91000; ++ms) {
        for (const SIntroSprite& s : Frame(float(ms), 1.0f)) IsVuga(s) ? void(++vugas) : slides.push_back(s);
        for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
            if (g_bIntroFired[key] && firedAt[key] < 0) firedAt[key] = ms;
    }
    for (int k = 0; k < INTRO_SLIDES; ++k) EXPECT_EQ(firedAt[k], kSlides[k].ms + 1) << "slide " << k;
    // A moment is a single-precision number of seconds: the thousandfold of moment 91 falls just
    // short of 64256 ms (that of 16 just past 16023), the others are whole.
    for (int i = 0; i < INTRO_RANDOM_TIMES; ++i)
        EXPECT_EQ(firedAt[INTRO_RANDOM_FIRST_KEY + i], kMoments[i] + (i == 91 ? 0 : 1)) << "moment " << i;
    ExpectFired(40, 114);
    EXPECT_EQ(vugas, 115);
    ASSERT_EQ(slides.size(), 41u);
    for (size_t k = 0; k < slides.size(); ++k) {
        SCOPED_TRACE(k);
        const SIntroSprite& s = slides[k];
        EXPECT_EQ(s.iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(s), kSlides[k].x);
        EXPECT_EQ(s.fTop + s.fBottom, 480.0f);
        EXPECT_EQ(s.fRight - s.fLeft, kSizes[kSlides[k].image][0]);
        EXPECT_EQ(s.fBottom - s.fTop, kSizes[kSlides[k].image][1]);
        EXPECT_TRUE(s.fDuration == kSlides[k].seconds && s.dwFlags == kSlides[k].flags) << s.fDuration << " " << s.dwFlags;
    }
}

TEST_F(IntroScript, AtAnOddScreenSizeTheSlidesKeepTheirHalfPixel) {
    g_Config.dwWidth = 641;
    g_Config.dwHeight = 479;
    const struct {
        float ms, x;
    } due[] = {{201, 320.5f}, {3380, 192.3f}, {4263, 448.7f}};  // slides 0, 1 and 2
    for (const auto& d : due) {
        std::vector<SIntroSprite> added = Frame(d.ms, 1.0f);
        added.erase(std::remove_if(added.begin(), added.end(), IsVuga), added.end());
        ASSERT_EQ(added.size(), 1u) << d.ms;
        EXPECT_NEAR(CentreX(added[0]), d.x, 1e-3f) << d.ms;
        EXPECT_EQ(added[0].fTop + added[0].fBottom, 479.0f) << d.ms;
    }
}

TEST_F(IntroScript, AfterAStallEverythingDueFiresInTableOrderSlidesFirst) {
    // Slides 0..24 and moments 0..69 are due; the pool takes the slides and seven moments.
    ASSERT_EQ(Frame(50000.0f, 1.0f).size(), 32u);
    for (int k = 0; k < 25; ++k)
        EXPECT_EQ(g_IntroSprites[k].iImage, kSlides[k].image) << k;
    for (int k = 0; k < MAX_INTRO_SPRITES; ++k)
        EXPECT_EQ(IsVuga(g_IntroSprites[k]), k >= 25) << k;
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
    EXPECT_NE(std::make_pair(added[0].fLeft, added[0].fTop), std::make_pair(added[1].fLeft, added[1].fTop));
    added = Frame(45023.0f, 712.0f);  // slide 23, then moments 61 and 64
    ASSERT_EQ(added.size(), 3u);
    EXPECT_EQ(added[0].iImage, 15);
    EXPECT_TRUE(IsVuga(added[1]) && IsVuga(added[2])) << added[1].dwFlags << " " << added[2].dwFlags;
    EXPECT_NE(std::make_pair(added[1].fLeft, added[1].fTop), std::make_pair(added[2].fLeft, added[2].fTop));
}
