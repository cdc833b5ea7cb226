// intro_loop_test.cpp -- the intro frame by frame on the real device with the generated pictures
// and music: what it loads and frees, the first slide on screen and its texture filter, the end,
// the skip keys, and a missing or locked vertex buffer.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "dinput.h"
#include "game/sound_object.h"
#include "intro_test_program.h"
#include "scratch_dir.h"
#include "world/texture_manager.h"
#include "world/world.h"

namespace {

bool Lit(uint32_t rgb) { return ((rgb >> 16) & 0xFF) > 40 || ((rgb >> 8) & 0xFF) > 40 || (rgb & 0xFF) > 40; }
uint32_t Draws() { return layer::LastFrameStats().drawCalls; }

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
};

}  // namespace

TEST_F(Intro, LoadsEveryPictureAtItsOwnSizeAndTheMusicAndFreesThemAll) {
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    CTextureManager* textures = g_pWorld->pTextureManager;
    // Each picture is as big as the sprites of its image type.
    const UINT widths[INTRO_IMAGE_TYPES] = {128, 128, 128, 128, 128, 128, 190, 176, 261,
                                            232, 420, 298, 350, 286, 350, 252, 350, 400};
    for (int image = 0; image < INTRO_IMAGE_TYPES; ++image) {
        // Photos 1..11 were loaded first, then the closing picture, then the VUGA pictures.
        ASSERT_EQ(g_iTexIntro[image], image >= 6 ? image - 6 : image + 12) << image;
        D3DSURFACE_DESC desc;
        ASSERT_EQ(textures->textures[g_iTexIntro[image]]->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, widths[image]) << image;
        EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4) << image;
    }
    const int music = g_iSndIntro;
    ASSERT_GE(music, 0);
    FreeIntro();
    for (int slot = 0; slot < INTRO_IMAGE_TYPES; ++slot) EXPECT_EQ(textures->textures[slot], nullptr) << slot;
    EXPECT_EQ(g_pVBintro, nullptr);
    EXPECT_EQ(g_pSoundManager->LoadSegment("sound\\melidrak.wav"), music) << "the music's slot is free again";
    g_pSoundManager->FreeSegment(music);
}

TEST_F(Intro, TheFirstSlideAppearsAfter200MsUnderTheFrameRateSwellsFiltersAndShowsThroughOthers) {
    EXPECT_TRUE(FrameAt(200));
    const uint32_t textOnly = Draws();
    EXPECT_EQ(textOnly, 2u) << "the frame rate twice: its shadow, then the text";
    char rate[32];  // so on black the text shows whole, as if alone
    std::snprintf(rate, sizeof rate, "FPS : %.02f", g_Timer.fFPS);
    const std::vector<uint32_t> shown = Pixels();
    EXPECT_EQ(Drawn([&] { g_pFont8->DrawText(2, 2, 0xFFFFFFFF, rate, 0); }), shown);
    EXPECT_TRUE(FrameAt(216));
    ASSERT_EQ(Live(), 1);
    EXPECT_EQ(g_IntroSprites[0].fAge, 0.016f) << "aged by the frame that added it";
    EXPECT_EQ(Draws(), textOnly + 1);

    // Half way through its 3 s photo 1 is 1.5 times its size at full light: x 177..463, y 37..443.
    g_Config.dwFilter = D3DTEXF_POINT;
    EXPECT_TRUE(FrameAt(1716));
    const UINT probes[8][3] = {{185, 240, 1}, {170, 240, 0}, {455, 240, 1}, {470, 240, 0},
                               {320, 45, 1},  {320, 30, 0},  {320, 435, 1}, {320, 450, 0}};
    for (const auto& p : probes) EXPECT_EQ(Lit(layer::BackBufferPixel(p[0], p[1])), p[2] == 1) << p[0] << "," << p[1];
    // The same moment again with linear filtering, then with point filtering once more.
    const std::vector<uint32_t> point = Pixels();
    g_Config.dwFilter = D3DTEXF_LINEAR;
    EXPECT_TRUE(FrameAt(1716));
    const std::vector<uint32_t> linear = Pixels();
    // Both filters follow the chosen filter, the mip filter its own setting.
    ASSERT_NE(g_Config.dwMipFilter, (DWORD)D3DTEXF_LINEAR);
    for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_MINFILTER, D3DTSS_MAGFILTER, D3DTSS_MIPFILTER}) {
        DWORD value = 0;
        g_pd3dDevice->GetTextureStageState(0, type, &value);
        EXPECT_EQ(value, type == D3DTSS_MIPFILTER ? g_Config.dwMipFilter : DWORD(D3DTEXF_LINEAR)) << type;
    }
    g_Config.dwFilter = D3DTEXF_POINT;
    EXPECT_TRUE(FrameAt(1716));
    EXPECT_EQ(Pixels(), point);
    int differ = 0;
    for (size_t i = 0; i < point.size(); ++i) differ += point[i] != linear[i];
    EXPECT_GT(differ, 10000);

    // A VUGA picture over the photo: its magenta corner is see-through, its middle shows.
    AddIntroSprite(0, 320, 240, 2.0f, ISF_FIXEDSIZE | ISF_OPAQUE, -1);
    EXPECT_TRUE(FrameAt(1716));
    const size_t corner = 177 * 640 + 257, middle = 240 * 640 + 320;
    ASSERT_TRUE(Lit(point[corner]));
    EXPECT_EQ(Pixels()[corner], point[corner]);
    EXPECT_NE(Pixels()[middle], point[middle]);
}

TEST_F(Intro, TheFrameAt91000MsStillShowsAndTheNextEndsShowingNothing) {
    ClockAt(49999);
    g_Timer.Update();  // a stall: 50 s have passed, the last of them in 1 ms
    ASSERT_TRUE(FrameAt(50000));
    EXPECT_EQ(Live(), 32);
    EXPECT_EQ(g_IntroSprites[24].dwFlags & ISF_FIXEDSIZE, 0u) << "the 25 slides due come first";
    EXPECT_NE(g_IntroSprites[25].dwFlags & ISF_FIXEDSIZE, 0u) << "then the random pictures";
    ASSERT_TRUE(FrameAt(90000));
    const uint32_t shown = layer::PresentedFrames();
    EXPECT_TRUE(FrameAt(91000));
    EXPECT_EQ(layer::PresentedFrames(), shown + 1);
    EXPECT_FALSE(FrameAt(91001));
    EXPECT_EQ(layer::PresentedFrames(), shown + 1);
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, 0u);
    EXPECT_EQ(g_pd3dDevice->EndScene(), D3DERR_INVALIDCALL) << "the scene was ended";
    BYTE* data = nullptr;
    EXPECT_EQ(g_pVBintro->Lock(0, 0, &data, 0), D3D_OK) << "the buffer was unlocked";
    g_pVBintro->Unlock();
}

TEST_F(Intro, EscEnterOrSpaceEndsTheIntroAfterAShownFrame) {
    uint32_t ms = 1000;
    for (BYTE key : {DIK_ESCAPE, DIK_RETURN, DIK_SPACE}) {
        const uint32_t shown = layer::PresentedFrames();
        layer::InjectKey(key, true);
        EXPECT_FALSE(FrameAt(ms += 16)) << int(key);
        EXPECT_EQ(layer::PresentedFrames(), shown + 1);
        EXPECT_TRUE(Lit(layer::BackBufferPixel(320, 240))) << "the slide was drawn in that frame";
        layer::InjectKey(key, false);
        EXPECT_TRUE(FrameAt(ms += 16));
    }
    layer::InjectKey(DIK_A, true);
    EXPECT_TRUE(FrameAt(ms += 16)) << "other keys do not skip";
}

TEST_F(Intro, ALockedOrMissingBufferLeavesOnlyTheFrameRateAndIsReportedOnce) {
    BYTE* held = nullptr;
    ASSERT_EQ(g_pVBintro->Lock(0, 0, &held, 0), D3D_OK);
    for (const char* failed : {"g_pVBintro->Lock", "CreateVertexBuffer - g_pVBintro"}) {
        SCOPED_TRACE(failed);
        ASSERT_TRUE(FrameAt(100));
        const uint32_t shown = layer::PresentedFrames();
        for (uint32_t ms : {201u, 300u, 400u}) {
            EXPECT_TRUE(FrameAt(ms));
            EXPECT_EQ(Draws(), 2u) << "the frame rate alone at " << ms;
        }
        EXPECT_EQ(layer::PresentedFrames(), shown + 3);
        EXPECT_EQ(Live(), 1) << "the slide due";
        EXPECT_EQ(g_IntroSprites[0].fAge, 0.0f) << "not aged";
        EXPECT_EQ(BoxesNaming("g_pVBintro"), 1) << "once, not every frame";
        EXPECT_EQ(BoxesNaming(failed), 1) << "once, not every frame";
        EXPECT_FALSE(FrameAt(92000));
        if (!held) break;
        EXPECT_EQ(layer::ShownMessageBoxes().size(), 1u);
        EXPECT_EQ(g_pVBintro->Unlock(), D3D_OK) << "the frame left alone the lock it did not take";
        held = nullptr;
        FreeIntro();  // and again without a buffer: with no pictures to load, its creation fails
        ScratchDir empty;
        layer::ClearShownMessageBoxes();
        layer::FailNextResourceCreation(E_FAIL);
        ASSERT_EQ(InitIntro(), 0);
        EXPECT_EQ(g_pVBintro, nullptr);
        StartStopwatch();
    }
}
