// intro_loop_test.cpp -- the intro frame by frame on the real device with the generated pictures
// and music: the script's timing, stalls, the end, the skip keys, the texture filter, a missing or
// locked vertex buffer, and what the intro loads and frees.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dinput.h"
#include "game/intro.h"
#include "game/sound_object.h"
#include "intro_test_program.h"
#include "scratch_dir.h"
#include "world/texture_manager.h"
#include "world/world.h"

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

std::vector<SIntroSprite> LiveSprites() {
    std::vector<SIntroSprite> live;
    for (const SIntroSprite& s : g_IntroSprites)
        if (s.bActive) live.push_back(s);
    return live;
}

bool Lit(uint32_t rgb) { return ((rgb >> 16) & 0xFF) > 40 || ((rgb >> 8) & 0xFF) > 40 || (rgb & 0xFF) > 40; }

class Intro : public StartedProgram {
protected:
    void SetUp() override {
        Start(width_, height_, 2);
        ASSERT_EQ(InitIntro(), 0);
        StartStopwatch();
    }
    bool FrameAt(uint32_t ms) {
        ClockAt(ms);
        return RenderIntroFrame();
    }
    // Draw calls of the frame last shown.
    static uint32_t Draws() { return layer::LastFrameStats().drawCalls; }

    DWORD width_ = 640, height_ = 480;
};

// The whole intro at a quarter of the pixels, to keep it quick.
class SmallIntro : public Intro {
protected:
    void SetUp() override {
        width_ = 320;
        height_ = 240;
        Intro::SetUp();
    }
};

}  // namespace

TEST_F(Intro, LoadsEveryPictureAtItsOwnSizeAndTheMusicAndFreesThemAll) {
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    CTextureManager* textures = g_pWorld->pTextureManager;
    const UINT sizes[INTRO_IMAGE_TYPES][2] = {
        {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {128, 128}, {190, 270}, {176, 226}, {261, 201},
        {232, 350}, {420, 278}, {298, 350}, {350, 262}, {286, 350}, {350, 248}, {252, 350}, {350, 250}, {400, 400}};
    std::vector<int> slots;
    for (int image = 0; image < INTRO_IMAGE_TYPES; ++image) {
        SCOPED_TRACE(image);
        const int slot = g_iTexIntro[image];
        ASSERT_GE(slot, 0);
        ASSERT_NE(textures->textures[slot], nullptr);
        D3DSURFACE_DESC desc;
        ASSERT_EQ(textures->textures[slot]->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, sizes[image][0]);
        EXPECT_EQ(desc.Height, sizes[image][1]);
        EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
        EXPECT_EQ(textures->textures[slot]->GetLevelCount(), 1u);
        slots.push_back(slot);
    }
    // Photos 1..11 were loaded first, then the closing picture, then the VUGA pictures.
    for (int image = 6; image < INTRO_IMAGE_TYPES; ++image) EXPECT_EQ(g_iTexIntro[image], image - 6);
    for (int image = 0; image < 6; ++image) EXPECT_EQ(g_iTexIntro[image], 12 + image);
    // The magenta around a VUGA picture is see-through.
    D3DLOCKED_RECT rect;
    IDirect3DTexture8* vuga = textures->textures[g_iTexIntro[0]];
    ASSERT_EQ(vuga->LockRect(0, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<const WORD*>(rect.pBits)[0], 0);
    vuga->UnlockRect(0);
    ASSERT_GE(g_iSndIntro, 0);
    ASSERT_NE(g_pVBintro, nullptr);
    D3DVERTEXBUFFER_DESC vb;
    ASSERT_EQ(g_pVBintro->GetDesc(&vb), D3D_OK);
    EXPECT_EQ(vb.Size, 3584u);
    EXPECT_EQ(vb.FVF, 0x144u);
    EXPECT_EQ(vb.Usage, (DWORD)D3DUSAGE_WRITEONLY);

    const int music = g_iSndIntro;
    FreeIntro();
    for (int slot : slots) EXPECT_EQ(textures->textures[slot], nullptr) << slot;
    EXPECT_EQ(g_pVBintro, nullptr);
    EXPECT_EQ(g_pSoundManager->LoadSegment("sound\\melidrak.wav"), music) << "the music's slot is free again";
    g_pSoundManager->FreeSegment(music);
}

TEST_F(Intro, TheFirstSlideAppearsJustAfter200MsAgedByItsOwnFrameAndSwells) {
    EXPECT_TRUE(FrameAt(200));
    EXPECT_TRUE(LiveSprites().empty());
    const uint32_t textOnly = Draws();
    EXPECT_TRUE(FrameAt(216));
    std::vector<SIntroSprite> live = LiveSprites();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].iImage, 6);
    EXPECT_EQ(CentreX(live[0]), 320.0f);
    EXPECT_EQ(CentreY(live[0]), 240.0f);
    EXPECT_EQ(live[0].fAge, 0.016f);
    EXPECT_EQ(g_bIntroFired[0], 1);
    EXPECT_EQ(Draws(), textOnly + 1);

    // Half way through its 3 s the photo is one and a half times its size, at full light:
    // about x 177..463 and y 37..443.
    EXPECT_TRUE(FrameAt(1716));
    ASSERT_EQ(LiveSprites().size(), 1u);
    const struct {
        UINT x, y;
        bool lit;
    } probes[] = {{185, 240, true},  {170, 240, false}, {455, 240, true},  {470, 240, false},
                  {320, 45, true},   {320, 30, false},  {320, 435, true},  {320, 450, false}};
    for (const auto& p : probes) EXPECT_EQ(Lit(Pixel(p.x, p.y)), p.lit) << p.x << "," << p.y << std::hex << " 0x" << Pixel(p.x, p.y);
}

TEST_F(SmallIntro, EveryEventFiresOnceAndTheSlidesFollowTheScript) {
    std::vector<SIntroSprite> slides;
    int vugas = 0;
    uint32_t ms = 250;
    for (; ms <= 91000; ms += 250) {
        ASSERT_TRUE(FrameAt(ms)) << ms;
        for (const SIntroSprite& s : LiveSprites()) {
            if (s.fAge != 0.25f) continue;  // added in an earlier frame
            if (IsVuga(s))
                ++vugas;
            else
                slides.push_back(s);
        }
    }
    EXPECT_FALSE(FrameAt(ms));
    EXPECT_EQ(vugas, 115);
    ASSERT_EQ(slides.size(), 41u);
    for (size_t k = 0; k < slides.size(); ++k) {
        SCOPED_TRACE(testing::Message() << "slide " << k);
        EXPECT_EQ(slides[k].iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(slides[k]), kSlides[k].x / 2);
        EXPECT_EQ(CentreY(slides[k]), 120.0f);
        EXPECT_EQ(slides[k].fDuration, kSlides[k].seconds);
        EXPECT_EQ(slides[k].dwFlags, kSlides[k].flags);
    }
    for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
        EXPECT_EQ(g_bIntroFired[key], key <= 40 || (key >= 64 && key <= 178) ? 1 : 0) << key;
}

TEST_F(Intro, AfterAStallEverythingDueFiresInTableOrderSlidesFirst) {
    StallUntil(50000);
    ASSERT_TRUE(RenderIntroFrame());
    // Slides 0..24 were due, then 70 random pictures: the pool took the slides and seven of them.
    ASSERT_EQ(LiveSprites().size(), 32u);
    for (int k = 0; k < 25; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(g_IntroSprites[k].iImage, kSlides[k].image);
        EXPECT_EQ(CentreX(g_IntroSprites[k]), kSlides[k].x);
        EXPECT_EQ(g_IntroSprites[k].fAge, 0.001f);
    }
    for (int k = 25; k < 32; ++k) EXPECT_TRUE(IsVuga(g_IntroSprites[k])) << k;
    for (int key = 0; key < INTRO_EVENT_KEYS; ++key)
        EXPECT_EQ(g_bIntroFired[key], key <= 24 || (key >= 64 && key <= 133) ? 1 : 0) << key;

    // Five seconds on, the new events found the pool still full: they are spent, not shown.
    ASSERT_TRUE(FrameAt(55000));
    EXPECT_TRUE(LiveSprites().empty());
    EXPECT_EQ(g_bIntroFired[25], 1);
    EXPECT_EQ(g_bIntroFired[26], 1);
    EXPECT_EQ(g_bIntroFired[64 + 75], 1);
    ASSERT_TRUE(FrameAt(55600));
    EXPECT_EQ(LiveSprites().size(), 2u);  // random entries 76 and 77 only
}

TEST_F(Intro, MomentsThatShareATimeFireTogetherFromDifferentEdges) {
    ASSERT_TRUE(FrameAt(44000));  // everything so far fires, and ages away in the same frame
    ASSERT_TRUE(FrameAt(44305));
    EXPECT_TRUE(LiveSprites().empty());
    ASSERT_TRUE(FrameAt(44311));  // entries 60 and 63
    std::vector<SIntroSprite> live = LiveSprites();
    ASSERT_EQ(live.size(), 2u);
    EXPECT_TRUE(IsVuga(live[0]) && IsVuga(live[1]));
    EXPECT_TRUE(CentreX(live[0]) != CentreX(live[1]) || CentreY(live[0]) != CentreY(live[1]));

    ASSERT_TRUE(FrameAt(45023));  // slide 23, then entries 61 and 64
    live = LiveSprites();
    ASSERT_EQ(live.size(), 5u);
    EXPECT_EQ(live[2].iImage, 15);
    EXPECT_FALSE(IsVuga(live[2]));
    EXPECT_TRUE(IsVuga(live[3]) && IsVuga(live[4]));
    EXPECT_EQ(live[3].fAge, 0.712f);
    EXPECT_TRUE(CentreX(live[3]) != CentreX(live[4]) || CentreY(live[3]) != CentreY(live[4]));
}

TEST_F(Intro, TheFrameAt91000MsStillShowsAndTheNextEndsShowingNothing) {
    ASSERT_TRUE(FrameAt(90000));
    const uint32_t shown = layer::PresentedFrames();
    EXPECT_TRUE(FrameAt(91000));
    EXPECT_EQ(layer::PresentedFrames(), shown + 1);
    EXPECT_GT(Draws(), 0u);  // the frame rate

    EXPECT_FALSE(FrameAt(91001));
    EXPECT_EQ(layer::PresentedFrames(), shown + 1);
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 0u);
    EXPECT_EQ(g_pd3dDevice->EndScene(), D3DERR_INVALIDCALL) << "the scene was ended";
    BYTE* data = nullptr;
    EXPECT_EQ(g_pVBintro->Lock(0, 0, &data, 0), D3D_OK) << "the buffer was unlocked";
    g_pVBintro->Unlock();
}

TEST_F(Intro, EscEnterOrSpaceEndsTheIntroAfterAShownFrame) {
    ASSERT_TRUE(FrameAt(1000));
    ASSERT_EQ(LiveSprites().size(), 1u);
    uint32_t ms = 1000;
    for (BYTE key : {DIK_ESCAPE, DIK_RETURN, DIK_SPACE}) {
        SCOPED_TRACE(int(key));
        const uint32_t shown = layer::PresentedFrames();
        layer::InjectKey(key, true);
        EXPECT_FALSE(FrameAt(ms += 16));
        EXPECT_EQ(layer::PresentedFrames(), shown + 1);
        EXPECT_EQ(layer::LastFrameStats().drawCalls, Draws());
        EXPECT_TRUE(Lit(Pixel(320, 240))) << "the slide was drawn in that frame";
        layer::InjectKey(key, false);
        EXPECT_TRUE(FrameAt(ms += 16));
    }
    layer::InjectKey(DIK_A, true);
    EXPECT_TRUE(FrameAt(ms += 16)) << "other keys do not skip";
}

TEST_F(Intro, PicturesAreSampledByTheChosenTextureFilter) {
    // The same moment drawn three times (no time passes between them): point, linear, point.
    ASSERT_TRUE(FrameAt(1716));
    std::vector<std::vector<uint32_t>> pictures;
    for (DWORD filter : {D3DTEXF_POINT, D3DTEXF_LINEAR, D3DTEXF_POINT}) {
        g_Config.dwFilter = filter;
        ASSERT_TRUE(FrameAt(1716));
        pictures.push_back(Pixels());
        DWORD min = 0, mag = 0;
        g_pd3dDevice->GetTextureStageState(0, D3DTSS_MINFILTER, &min);
        g_pd3dDevice->GetTextureStageState(0, D3DTSS_MAGFILTER, &mag);
        EXPECT_EQ(min, filter);
        EXPECT_EQ(mag, filter);
    }
    EXPECT_EQ(pictures[0], pictures[2]);
    // The photo is magnified by 1.5: linear filtering blends neighbouring texels.
    int differ = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) differ += pictures[0][i] != pictures[1][i];
    EXPECT_GT(differ, 10000);
}

TEST_F(Intro, ALockedBufferSkipsTheSpritesButTheFrameShowsAndIsReportedOnce) {
    ASSERT_TRUE(FrameAt(100));
    const uint32_t textOnly = Draws();
    BYTE* held = nullptr;
    ASSERT_EQ(g_pVBintro->Lock(0, 0, &held, 0), D3D_OK);
    layer::ClearShownMessageBoxes();
    for (uint32_t ms : {201u, 300u, 400u}) {
        const uint32_t shown = layer::PresentedFrames();
        EXPECT_TRUE(FrameAt(ms));
        EXPECT_EQ(layer::PresentedFrames(), shown + 1);
        EXPECT_EQ(Draws(), textOnly) << ms;
    }
    EXPECT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(BoxesNaming("g_pVBintro->Lock"), 1);
    ASSERT_EQ(LiveSprites().size(), 1u);
    EXPECT_EQ(g_IntroSprites[0].fAge, 0.0f) << "no fill, no ageing";
    EXPECT_FALSE(FrameAt(92000));
    EXPECT_EQ(g_pVBintro->Unlock(), D3D_OK) << "the frame left the lock it did not take";
}

TEST_F(Intro, WithoutAVertexBufferTheFramesShowOnlyTheFrameRate) {
    FreeIntro();
    ScratchDir empty;  // no pictures: the texture loads make no texture, so the buffer's creation fails
    layer::ClearShownMessageBoxes();
    layer::FailNextResourceCreation(E_FAIL);
    ASSERT_EQ(InitIntro(), 0);
    EXPECT_EQ(g_pVBintro, nullptr);
    EXPECT_EQ(BoxesNaming("CreateVertexBuffer - g_pVBintro"), 1);
    StartStopwatch();
    ASSERT_TRUE(FrameAt(100));
    const uint32_t textOnly = Draws();
    EXPECT_GT(textOnly, 0u);
    const uint32_t shown = layer::PresentedFrames();
    EXPECT_TRUE(FrameAt(201));
    EXPECT_TRUE(FrameAt(300));
    EXPECT_EQ(layer::PresentedFrames(), shown + 2);
    EXPECT_EQ(LiveSprites().size(), 1u);
    EXPECT_EQ(Draws(), textOnly);
    EXPECT_EQ(BoxesNaming("g_pVBintro"), 1) << "nothing more is reported per frame";
    EXPECT_FALSE(FrameAt(91001));
}
