// intro_loop_test.cpp -- the intro frame by frame on the real device with the generated pictures
// and music: what it loads and frees, the first slide on screen and its texture filter, events of
// one frame in order, the end, the skip keys, and a missing or locked vertex buffer.
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
        StartedProgram::SetUp();
        ASSERT_EQ(InitIntro(), 0);
        StartStopwatch();
    }
    bool FrameAt(uint32_t ms) {
        ClockAt(ms);
        return RenderIntroFrame();
    }
    // Draw calls of the frame last shown.
    static uint32_t Draws() { return layer::LastFrameStats().drawCalls; }
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

TEST_F(Intro, TheFirstSlideAppearsJustAfter200MsSwellsAndIsSampledByTheChosenFilter) {
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

    // The same moment drawn three times (no time passes between them): point, linear, point.
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
