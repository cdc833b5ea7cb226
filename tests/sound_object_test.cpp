// sound_object_test.cpp -- the game's sound object: slots, play flags, stopping and freeing,
// bad files and a machine without a sound device.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

#include "game/sound_object.h"
#include "layer/audio.h"
#include "layer/message_boxes.h"
#include "scoped_env.h"
#include "scratch_dir.h"
#include "sound_test_support.h"

namespace {

class SoundObjectTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory("sound");
        WriteLevelWave("sound/low.wav", 1000, 100);
        WriteLevelWave("sound/mid.wav", 500, 100);
        WriteLevelWave("sound/high.wav", 3000, 100);
        layer::SetManualAudioMixing(true);
    }
    ScratchDir dir;
};

std::vector<std::string> Sounding() { return layer::SoundingWaves(); }

// The slots of the three level waves, loaded in this order.
std::array<int, 3> LoadLevels(CSoundManager& sound) {
    return {sound.LoadSegment("sound\\low.wav"), sound.LoadSegment("sound\\mid.wav"),
            sound.LoadSegment("sound\\high.wav")};
}

// What the device is handed after each of its callbacks, taken from SDL_mixer for one test.
struct DeviceOutput {
    DeviceOutput() {
        Mix_SetPostMix(
            [](void* self, Uint8* stream, int len) {
                auto* out = static_cast<DeviceOutput*>(self);
                const auto* pcm = reinterpret_cast<const int16_t*>(stream);
                std::lock_guard<std::mutex> guard(out->lock);
                out->samples.insert(out->samples.end(), pcm, pcm + len / 2);
            },
            this);
    }
    ~DeviceOutput() { Mix_SetPostMix(nullptr, nullptr); }
    std::vector<int16_t> Samples() {
        std::lock_guard<std::mutex> guard(lock);
        return samples;
    }
    std::mutex lock;
    std::vector<int16_t> samples;
};

}  // namespace

TEST_F(SoundObjectTest, FiftySlotsAreTakenInOrderAndFreeOrOutsideOnesAreIgnored) {
    CSoundManager sound(nullptr);
    for (int i = 0; i < 50; ++i) ASSERT_EQ(sound.LoadSegment(i ? "sound\\low.wav" : "sound\\mid.wav"), i);
    EXPECT_EQ(sound.LoadSegment("sound\\high.wav"), -1);  // the fifty-first gets none, quietly
    sound.FreeSegment(1);
    sound.FreeSegment(49);
    for (int slot : {-1, 1, 49, 50, 1000}) {
        sound.PlaySegment(slot, 0, 0);
        sound.StopSegment(slot);
        sound.FreeSegment(slot);
    }
    EXPECT_TRUE(layer::PlayedWaves().empty());
    EXPECT_EQ(sound.LoadSegment("SOUND\\HIGH.WAV"), 1);  // the lowest free slot again
    EXPECT_EQ(sound.LoadSegment("sound\\mid.wav"), 49);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    sound.PlaySegment(0, 0, 0);
    EXPECT_EQ(Sounding(), std::vector<std::string>{"sound\\mid.wav"});
}

TEST_F(SoundObjectTest, AMissingOrDamagedFileIsReportedAndGetsNoSlot) {
    CSoundManager sound(nullptr);
    const auto& boxes = layer::ShownMessageBoxes();
    EXPECT_EQ(sound.LoadSegment("sound\\missing.wav"), -1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text,
              "Nastala chyba!\nPříznak: pMusicManager->CreateSegmentFromFile : sound\\missing.wav\nChyba: -2005397118");
    std::vector<uint8_t> image = layer::MakeWave16(std::vector<int16_t>(64, 1), 1, 44100);
    std::ofstream("sound/cut.wav", std::ios::binary).write(reinterpret_cast<const char*>(image.data()), 50);
    layer::ClearShownMessageBoxes();
    EXPECT_EQ(sound.LoadSegment("sound\\cut.wav"), -1);
    ASSERT_EQ(boxes.size(), 2u);  // the music manager's report, then the error box
    EXPECT_EQ(boxes[0].caption, "Unexpected error encountered");
    EXPECT_NE(boxes[1].text.find("sound\\cut.wav"), std::string::npos);
    // The slot stayed free, and the game goes on silent for the sounds that failed.
    EXPECT_EQ(sound.LoadSegment("sound\\low.wav"), 0);
    sound.PlaySegment(-1, 0, DMUS_SEGF_SECONDARY);
    sound.StopSegment(-1);
    sound.FreeSegment(-1);
    EXPECT_TRUE(Sounding().empty());
}

TEST_F(SoundObjectTest, SecondarySoundsOverlapEachOtherAndThePrimary) {
    CSoundManager sound(nullptr);
    [[maybe_unused]] auto [low, mid, high] = LoadLevels(sound);
    sound.PlaySegment(low, 0, DMUS_SEGF_SECONDARY);
    sound.PlaySegment(low, 0, DMUS_SEGF_SECONDARY);
    EXPECT_EQ(MixLeft(10)[9], 2000);
    sound.PlaySegment(mid, 0, 0);
    EXPECT_EQ(MixLeft(1)[0], 2500);
    // The zoom and the intro music start at once, as secondary sounds.
    sound.PlaySegment(mid, 0, DMUS_SEGF_SECONDARY | DMUS_SEGF_DEFAULT);
    EXPECT_EQ(MixLeft(1)[0], 3000);
    EXPECT_EQ(Sounding().size(), 4u);
    ASSERT_EQ(layer::PlayedWaves().size(), 4u);
    EXPECT_EQ(layer::PlayedWaves()[3].flags, 0x4080u);
}

TEST_F(SoundObjectTest, APrimarySoundReplacesThePrimaryAndWhatWasQueued) {
    CSoundManager sound(nullptr);
    auto [low, mid, high] = LoadLevels(sound);
    sound.PlaySegment(low, 0, 0);
    sound.PlaySegment(mid, 0, DMUS_SEGF_QUEUE);
    MixLeft(10);
    sound.PlaySegment(high, 0, 0);
    std::vector<int16_t> mixed = MixLeft(250);
    EXPECT_EQ(mixed[0], 3000);
    EXPECT_EQ(mixed[99], 3000);
    EXPECT_EQ(mixed[100], 0);  // neither the old primary nor the queued one comes back
    EXPECT_EQ(mixed[249], 0);
    EXPECT_TRUE(Sounding().empty());
}

TEST_F(SoundObjectTest, QueuedSoundsFollowThePrimaryInOrderWithoutAGap) {
    CSoundManager sound(nullptr);
    auto [low, mid, high] = LoadLevels(sound);
    sound.PlaySegment(low, 0, 0);
    sound.PlaySegment(mid, 0, DMUS_SEGF_QUEUE);
    sound.PlaySegment(high, 0, DMUS_SEGF_QUEUE);
    EXPECT_EQ(Sounding(), std::vector<std::string>{"sound\\low.wav"});  // queued ones are not playing yet
    std::vector<int16_t> mixed = MixLeft(150);
    EXPECT_EQ(mixed[99], 1000);
    EXPECT_EQ(mixed[100], 500);
    EXPECT_EQ(Sounding(), std::vector<std::string>{"sound\\mid.wav"});
    mixed = MixLeft(100);
    EXPECT_EQ(mixed[49], 500);
    EXPECT_EQ(mixed[50], 3000);
    MixLeft(50);
    EXPECT_TRUE(Sounding().empty());
    // With nothing playing, a queued sound starts at once.
    sound.PlaySegment(mid, 0, DMUS_SEGF_QUEUE);
    EXPECT_EQ(MixLeft(1)[0], 500);
}

TEST_F(SoundObjectTest, StopSilencesEveryInstanceFreeEmptiesTheSlotAndRepeatsLengthenTheSound) {
    CSoundManager sound(nullptr);
    auto [low, mid, high] = LoadLevels(sound);
    sound.PlaySegment(low, 0, DMUS_SEGF_SECONDARY);
    sound.PlaySegment(low, 0, DMUS_SEGF_SECONDARY);
    sound.PlaySegment(mid, 0, DMUS_SEGF_SECONDARY);
    sound.StopSegment(low);
    EXPECT_EQ(Sounding(), std::vector<std::string>{"sound\\mid.wav"});
    EXPECT_EQ(MixLeft(1)[0], 500);
    sound.StopSegment(mid);
    // The intro music is played, stopped and freed by its slot; the slot then plays nothing.
    sound.PlaySegment(high, 0, DMUS_SEGF_SECONDARY | DMUS_SEGF_DEFAULT);
    EXPECT_EQ(Sounding(), std::vector<std::string>{"sound\\high.wav"});
    sound.StopSegment(high);
    sound.FreeSegment(high);
    EXPECT_TRUE(Sounding().empty());
    EXPECT_EQ(layer::WaveDownloads(), 2);  // its wave is unloaded
    sound.PlaySegment(high, 0, 0);
    EXPECT_EQ(layer::PlayedWaves().size(), 4u);
    sound.PlaySegment(low, 1, 0);
    std::vector<int16_t> mixed = MixLeft(250);
    EXPECT_EQ(mixed[199], 1000);
    EXPECT_EQ(mixed[200], 0);
    sound.PlaySegment(low, 0, 0);  // the next play has its own repeats
    mixed = MixLeft(150);
    EXPECT_EQ(mixed[99], 1000);
    EXPECT_EQ(mixed[100], 0);
}

TEST_F(SoundObjectTest, MonoWavesAtOtherRatesPlayCentredForTheirLength) {
    // As the game's own sounds are made: mono, 16 bits, 22050 Hz; a tenth of a second.
    layer::WriteWave16("sound/shot.wav", std::vector<int16_t>(2205, 1000), 1, 22050);
    CSoundManager sound(nullptr);
    int shot = sound.LoadSegment("sound\\shot.wav");
    ASSERT_GE(shot, 0);
    sound.PlaySegment(shot, 0, DMUS_SEGF_SECONDARY);
    std::vector<int16_t> stereo(2 * 5000);
    layer::MixAudio(stereo.data(), 5000);
    EXPECT_NEAR(stereo[2 * 2000], 1000, 50);
    EXPECT_EQ(stereo[2 * 2000], stereo[2 * 2000 + 1]);  // the same in both channels
    EXPECT_EQ(stereo[2 * 4500], 0);                     // 4410 frames at 44100 Hz, then silence
    EXPECT_TRUE(Sounding().empty());
}

// The device's own mixing fills every frame of every callback: the sound comes out whole, in
// one run of its length, in both channels.
TEST_F(SoundObjectTest, ASoundPlaysOnTheRealDeviceAndEndsByItself) {
    layer::SetManualAudioMixing(false);
    WriteLevelWave("sound/blip.wav", 2000, 22050);  // half a second
    CSoundManager sound(nullptr);
    int blip = sound.LoadSegment("sound\\blip.wav");
    DeviceOutput output;
    sound.PlaySegment(blip, 0, DMUS_SEGF_SECONDARY);
    EXPECT_EQ(Sounding().size(), 1u);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Sounding().empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(Sounding().empty());
    // One more callback, so that the one that ended the sound has been handed over whole.
    const size_t ended = output.Samples().size();
    while (output.Samples().size() <= ended && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::vector<int16_t> played = output.Samples();
    auto first = std::find_if(played.begin(), played.end(), [](int16_t s) { return s != 0; });
    auto last = std::find_if(played.rbegin(), played.rend(), [](int16_t s) { return s != 0; }).base();
    ASSERT_NE(first, played.end());
    EXPECT_EQ(last - first, 2 * 22050);
    EXPECT_EQ(std::count(first, last, int16_t(2000)), last - first);
}

TEST_F(SoundObjectTest, WithoutASoundDeviceTheGameGoesOnSilent) {
    ScopedEnv noDevice("SDL_AUDIODRIVER", "no-such-driver");
    CSoundManager sound(nullptr);
    const auto& boxes = layer::ShownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0].text.find("pMusicManager->Initialize\nChyba: -2005401480"), std::string::npos);
    EXPECT_NE(boxes[1].text.find("pPerformance->CreateStandardAudioPath"), std::string::npos);
    EXPECT_EQ(sound.LoadSegment("sound\\low.wav"), 0);
    sound.PlaySegment(0, 0, DMUS_SEGF_SECONDARY);
    sound.PlaySegment(0, 0, 0);
    sound.StopSegment(0);
    EXPECT_TRUE(Sounding().empty());
    EXPECT_EQ(boxes.size(), 2u);
}
