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
    bool FrameAt(uint32_t ms) {
        ClockAt(ms);
        return RenderDisclaimer();
    }
    // The screen as it should be: each line centred with whole-pixel halves (at 640 a line 101
    // pixels wide starts at 270), 20 pixels a row around the middle, on black.
    static std::vector<uint32_t> Expected(DWORD colour) {
        const char* lines[5] = {"UPOZORNENI !!!", "Veskere obrazky postav jsou generovany",
                                "nahodne.Vsechna jmena jsou smyslena.", "Jakakoliv podobnost se skutecnymi",
                                "osobami je ciste nahodna."};
        const int offsets[5] = {-90, -50, -30, 10, 30};
        const int w = int(g_Config.dwWidth), h = int(g_Config.dwHeight);
        return Drawn([&] {
            for (int k = 0; k < 5; ++k) {
                SIZE size;
                g_pFont14->GetTextExtent(lines[k], &size);
                const float x = float(w / 2 - size.cx / 2), y = float(h / 2 + offsets[k]);
                g_pFont14->DrawText(x, y, colour, lines[k], 0);
            }
        });
    }
    static bool Black() {
        for (uint32_t p : Pixels())
            if (p) return false;
        return true;
    }
};

}  // namespace

TEST_F(Disclaimer, TheLinesFadeInHoldFadeOutAndNeverFlash) {
    for (DWORD width : {640u, 641u}) {  // at an odd width the half is a whole pixel too
        if (width == 641) {
            TearDown();
            Start(641, 479);
        }
        StartStopwatch();
        const struct {
            uint32_t ms;
            DWORD colour;
            bool goesOn;
        } frames[] = {{500, 0xFA7D7D7D, true},   {999, 0xFAF9F9F9, true},  {1000, 0xFAFFFFFF, true},
                      {2000, 0xFAFFFFFF, true},  {2500, 0xFA7D7D7D, false}, {2800, 0xFA323232, false},
                      {2001, 0xFAF9F9F9, false}};
        for (const auto& f : frames) {
            const uint32_t shown = layer::PresentedFrames();
            EXPECT_EQ(FrameAt(f.ms), f.goesOn) << f.ms;
            EXPECT_EQ(layer::PresentedFrames(), shown + 1) << "every frame is shown, the last one too";
            const std::vector<uint32_t> seen = Pixels();
            EXPECT_FALSE(Black()) << f.ms;
            EXPECT_TRUE(seen == Expected(f.colour)) << width << " at " << f.ms;
        }
    }
    // 1.2 s past the hold the falling level would be -50: the text stays black.
    EXPECT_FALSE(FrameAt(3200));
    EXPECT_TRUE(Black());
}

TEST_F(Disclaimer, EscEnterOrSpaceEndsItAfterOneShownFrame) {
    StartStopwatch();
    uint32_t ms = 100;
    for (BYTE key : {DIK_ESCAPE, DIK_RETURN, DIK_SPACE}) {
        const uint32_t shown = layer::PresentedFrames();
        layer::InjectKey(key, true);
        EXPECT_FALSE(FrameAt(ms += 100)) << int(key);
        EXPECT_EQ(layer::PresentedFrames(), shown + 1);
        EXPECT_FALSE(Black());
        layer::InjectKey(key, false);
        EXPECT_TRUE(FrameAt(ms += 100));
    }
}
