// played_waves_log_test.cpp -- the layer's log of played waves, which every play adds to for as long
// as the program runs, keeps only the latest plays.
#include "game/sound_object.h"
#include "game_fixture.h"

namespace {

using PlayedWavesLog = game_test::GameTest;

TEST_F(PlayedWavesLog, KeepsTheLatestPlaysAndNoMore) {
    const int plays = int(3 * layer::kPlayedWavesKept);
    for (int i = 0; i < plays; ++i) {
        const bool last = i == plays - 1;
        g_pSoundManager->PlaySegment(last ? g_iSndZoom : g_Weapons[0].iSound, 0, last ? 0 : 0x80);
        ASSERT_LE(layer::PlayedWaves().size(), 2 * layer::kPlayedWavesKept);
    }
    const auto& log = layer::PlayedWaves();
    EXPECT_GE(log.size(), layer::kPlayedWavesKept);
    EXPECT_NE(log.back().file.find("zoom.wav"), std::string::npos);
    EXPECT_EQ(log.back().flags, 0u);
    EXPECT_EQ(Played("sound\\motor.wav", 0x80), int(log.size()) - 1);
}

}  // namespace
