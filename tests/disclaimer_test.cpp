// disclaimer_test.cpp -- the warning screen on the real device: its grey level through the fade,
// its five centred lines, its end after 2000 ms and the keys that end it early.
#include <gtest/gtest.h>

#include <vector>

#include "dinput.h"
#include "game/disclaimer.h"
#include "intro_test_program.h"

namespace {

class Disclaimer : public StartedProgram {
protected:
    void SetUp() override {}  // each test starts at its own size

    void StartAt(DWORD width, DWORD height) {
        Start(width, height, 2);
        StartStopwatch();
    }
    bool FrameAt(uint32_t ms) {
        ClockAt(ms);
        return RenderDisclaimer();
    }

    // The screen as it should look: the five lines in the colour, each centred with whole-pixel
    // halves (at 640 a line 101 pixels wide starts at 270), on black.
    std::vector<uint32_t> Expected(DWORD colour) {
        const struct {
            const char* text;
            int offset;
        } lines[] = {{"UPOZORNENI !!!", -90},
                     {"Veskere obrazky postav jsou generovany", -50},
                     {"nahodne.Vsechna jmena jsou smyslena.", -30},
                     {"Jakakoliv podobnost se skutecnymi", 10},
                     {"osobami je ciste nahodna.", 30}};
        const int w = int(g_Config.dwWidth), h = int(g_Config.dwHeight);
        g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        g_pd3dDevice->BeginScene();
        for (const auto& line : lines) {
            SIZE size;
            g_pFont14->GetTextExtent(line.text, &size);
            g_pFont14->DrawText(float(w / 2 - size.cx / 2), float(h / 2 + line.offset), colour, line.text, 0);
        }
        g_pd3dDevice->EndScene();
        return Pixels();
    }
};

bool AllBlack(const std::vector<uint32_t>& pixels) {
    for (uint32_t p : pixels)
        if (p) return false;
    return true;
}

}  // namespace

TEST_F(Disclaimer, TheLinesFadeInHoldAndFadeOutByTime) {
    for (DWORD width : {640u, 641u}) {  // an odd width: its half is a whole pixel too
        SCOPED_TRACE(width);
        StartAt(width, width == 640 ? 480 : 479);
        const struct {
            uint32_t ms;
            DWORD colour;
            bool goesOn;
        } frames[] = {
            {500, 0xFA7D7D7D, true},  {999, 0xFAF9F9F9, true},   {1000, 0xFAFFFFFF, true},
            {2000, 0xFAFFFFFF, true}, {2500, 0xFA7D7D7D, false}, {2800, 0xFA323232, false},
        };
        for (const auto& f : frames) {
            SCOPED_TRACE(f.ms);
            const uint32_t shown = layer::PresentedFrames();
            EXPECT_EQ(FrameAt(f.ms), f.goesOn);
            EXPECT_EQ(layer::PresentedFrames(), shown + 1) << "every frame is shown, the last one too";
            const std::vector<uint32_t> seen = Pixels();
            EXPECT_FALSE(AllBlack(seen));
            EXPECT_TRUE(seen == Expected(f.colour));
        }
        TearDown();
    }
}

TEST_F(Disclaimer, ALateLastFrameStaysDarkInsteadOfFlashing) {
    StartAt(640, 480);
    // 1.2 s past the hold the falling level would be -50; it stops at black.
    EXPECT_FALSE(FrameAt(3200));
    EXPECT_TRUE(AllBlack(Pixels()));
    EXPECT_FALSE(FrameAt(4000));
    EXPECT_TRUE(AllBlack(Pixels()));
}

TEST_F(Disclaimer, EscEnterOrSpaceEndsItAfterOneShownFrame) {
    StartAt(640, 480);
    uint32_t ms = 100;
    for (BYTE key : {DIK_ESCAPE, DIK_RETURN, DIK_SPACE}) {
        SCOPED_TRACE(int(key));
        const uint32_t shown = layer::PresentedFrames();
        layer::InjectKey(key, true);
        EXPECT_FALSE(FrameAt(ms += 100));
        EXPECT_EQ(layer::PresentedFrames(), shown + 1);
        EXPECT_FALSE(AllBlack(Pixels()));
        layer::InjectKey(key, false);
        EXPECT_TRUE(FrameAt(ms += 100));
    }
}
