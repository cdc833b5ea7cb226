// platform_base_test.cpp -- the runtime generator, the program clock and message boxes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "layer/clock.h"
#include "layer/message_boxes.h"
#include "windows.h"

using namespace layer;

TEST(RuntimeRandom, FirstDrawsAndReseedingRepeatTheSequenceIn15Bits) {
    srand(1);
    // The 15-bit generator's well-known opening sequence for seed 1.
    for (int draw : {41, 18467, 6334, 26500}) EXPECT_EQ(rand(), draw);
    srand(12345);
    int first[100];
    for (int& v : first) {
        v = rand();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 0x7FFF);
    }
    srand(12345);
    for (int v : first) EXPECT_EQ(rand(), v);
}

TEST(ProgramClock, ManualClockIsDrivenAndRealClockResumesWithoutGoingBack) {
    UseManualClock(5000);
    EXPECT_EQ(timeGetTime(), 5000u);
    AdvanceClock(16);
    EXPECT_EQ(timeGetTime(), 5016u);
    SetClock(100000);
    UseRealClock();
    EXPECT_GE(timeGetTime(), 100000u);
    EXPECT_FALSE(IsClockManual());
}

TEST(MessageBoxes, AreLoggedAndAnswerWithoutBlocking) {
    EXPECT_EQ(MessageBoxA(nullptr, "Nelze otevrit soubor", "Error", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Pokračovat?", "Otázka", MB_YESNO), IDYES);
    SetMessageBoxAnswer(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Znovu?", nullptr, MB_YESNO), IDNO);
    const auto& shown = ShownMessageBoxes();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "Nelze otevrit soubor");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].type, MB_OK | MB_ICONERROR);
    EXPECT_EQ(shown[1].caption, "Otázka");
    EXPECT_EQ(shown[2].caption, "Error");  // a null caption reads as "Error"
}
