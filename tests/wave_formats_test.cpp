// wave_formats_test.cpp -- wave files as other tools write them: extensible format headers with
// PCM or float samples play through the game's sound object, other kinds the loader refuses;
// samples at full scale reach the rails, loud mixes saturate, odd-sized chunks are padded.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dmusici.h"
#include "game/sound_object.h"
#include "layer/audio.h"
#include "layer/message_boxes.h"
#include "layer/wave_write.h"
#include "scratch_dir.h"
#include "wave_test_files.h"

using namespace layer;
using namespace wave_test;

namespace {

uint32_t FloatBits(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return bits;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The wave with a chunk of `body` bytes, padded to an even length, spliced in at `at`.
std::vector<uint8_t> WithChunk(std::vector<uint8_t> wave, size_t at, const char* id, std::vector<uint8_t> body) {
    std::vector<uint8_t> chunk(id, id + 4);
    const uint32_t size = uint32_t(body.size());
    for (int i = 0; i < 4; ++i) chunk.push_back(uint8_t(size >> (8 * i)));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (size & 1) chunk.push_back(0);
    wave.insert(wave.begin() + std::ptrdiff_t(at), chunk.begin(), chunk.end());
    const uint32_t riff = uint32_t(wave.size() - 8);
    std::memcpy(&wave[4], &riff, 4);
    return wave;
}

class WaveFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory("sound");
        SetManualAudioMixing(true);
    }
    void TearDown() override { SetManualAudioMixing(false); }

    // The first 200 stereo frames heard with each wave played at once as a secondary voice.
    std::vector<int16_t> Mix(const std::vector<std::vector<uint8_t>>& voices, const char* name) {
        std::vector<int> slots;
        for (size_t v = 0; v < voices.size(); ++v) {
            const std::string file = "voice" + std::to_string(v) + ".wav";
            Write("sound/" + file, voices[v]);
            slots.push_back(sound.LoadSegment(("sound\\" + file).c_str()));
            EXPECT_GE(slots.back(), 0) << name;
            sound.PlaySegment(slots.back(), 0, DMUS_SEGF_SECONDARY);
        }
        std::vector<int16_t> stereo(2 * 200);
        MixAudio(stereo.data(), 200);
        for (int slot : slots) sound.FreeSegment(slot);
        return stereo;
    }

    ScratchDir dir;
    CSoundManager sound{nullptr};
};

}  // namespace

TEST_F(WaveFormatsTest, ExtensibleHeadersOfOtherKindsAreRefusedByTheLoaderItself) {
    const struct {
        const char* name;
        ExtensibleHeader header;
        int sampleBytes;
    } cases[] = {
        {"adpcm", {2, 16, 16, 2}, 2},
        {"mu-law", {2, 8, 8, 7}, 1},
        {"64-bit float", {2, 64, 64, 3}, 8},
        {"foreign guid", {2, 24, 24, 1, 40, 22, true}, 3},
        {"short extension", {2, 24, 24, 1, 40, 21}, 3},
        {"no extension", {2, 24, 24, 1, 18, 0}, 3},
        {"valid bits past the container", {2, 16, 17, 1}, 2},
    };
    // The loader refuses them when it reads them, not only when the sound is made ready to play.
    CoInitialize(nullptr);
    IDirectMusicLoader8* loader = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                               reinterpret_cast<void**>(&loader)),
              S_OK);
    for (const auto& c : cases) {
        const std::string name = std::string("sound/") + c.name + ".wav";
        Write(name, ExtensibleWave(c.header, Frames(0, c.sampleBytes, 10)));
        std::u16string wide(name.begin(), name.end());
        IDirectMusicSegment8* segment = nullptr;
        EXPECT_EQ(loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8,
                                             const_cast<WCHAR*>(wide.c_str()), reinterpret_cast<void**>(&segment)),
                  E_FAIL)
            << c.name;
        if (segment) segment->Release();
    }
    loader->Release();
    CoUninitialize();
}

// Samples of every playable kind, extensible headers with PCM or float samples among them, play
// at their level, centred; full-scale ones reach the 16-bit rails, and voices that sum past a
// rail saturate there: the sum is clamped once, after all the voices are added. Converted
// samples may fall short of a level by the converter's rounding (slack), never wrap past a rail.
TEST_F(WaveFormatsTest, SamplesOfEveryKindPlayAtTheirLevelAndLoudSumsSaturate) {
    auto pcm = [](uint16_t bits, uint64_t value) { return PlainWave(1, bits, Frames(value, bits / 8, 100)); };
    auto flt = [](float value) { return PlainWave(3, 32, Frames(FloatBits(value), 4, 100)); };
    auto ext = [](uint16_t bits, uint64_t value) {
        return ExtensibleWave({2, bits, bits, 1}, Frames(value, bits / 8, 100));
    };
    // The game's own kind: mono at 22050 frames a second, made twice as long at the device's rate.
    auto mono = [](int16_t value) { return MakeWave16(std::vector<int16_t>(50, value), 1, 22050); };
    const struct {
        const char* name;
        std::vector<std::vector<uint8_t>> voices;
        int level, slack;
    } cases[] = {
        {"24-bit", {ExtensibleWave({}, Frames(0x123456, 3, 100))}, 0x1234, 2},
        {"24-bit, 20 valid", {ExtensibleWave({2, 24, 20, 1}, Frames(0xE00000, 3, 100))}, -0x2000, 2},
        {"32-bit float", {ExtensibleWave({2, 32, 32, 3}, Frames(FloatBits(0.25f), 4, 100))}, 8192, 2},
        {"16-bit, longer extension", {ExtensibleWave({2, 16, 16, 1, 48, 30}, Frames(2048, 2, 100))}, 2048, 2},
        {"16-bit highest, twice", {pcm(16, 0x7FFF), pcm(16, 0x7FFF)}, 32767, 0},
        {"16-bit lowest, twice", {pcm(16, 0x8000), pcm(16, 0x8000)}, -32768, 0},
        {"16-bit highest and lowest", {pcm(16, 0x7FFF), pcm(16, 0x8000)}, -1, 0},
        {"past the rail and back", {pcm(16, 0x7FFF), pcm(16, 0x7FFF), pcm(16, 0x8000)}, 32766, 0},
        {"8-bit 255", {pcm(8, 255)}, 32512, 1},
        {"8-bit 0", {pcm(8, 0)}, -32768, 1},
        {"8-bit 128", {pcm(8, 128)}, 0, 0},
        {"8-bit 255, twice", {pcm(8, 255), pcm(8, 255)}, 32767, 0},
        {"8-bit 0, twice", {pcm(8, 0), pcm(8, 0)}, -32768, 0},
        {"24-bit highest", {ext(24, 0x7FFFFF)}, 32767, 1},
        {"24-bit lowest, twice", {ext(24, 0x800000), ext(24, 0x800000)}, -32768, 0},
        {"32-bit highest", {ext(32, 0x7FFFFFFF)}, 32767, 1},
        {"32-bit lowest", {ext(32, 0x80000000)}, -32768, 1},
        {"float +1", {flt(1.0f)}, 32767, 1},
        {"float -1", {flt(-1.0f)}, -32768, 1},
        {"float past +1", {flt(2.0f)}, 32767, 1},
        {"float past -1, twice", {flt(-2.0f), flt(-2.0f)}, -32768, 0},
        {"mono 22050 Hz highest, twice", {mono(32767), mono(32767)}, 32767, 0},
        {"mono 22050 Hz lowest", {mono(-32768)}, -32768, 64},
    };
    for (const auto& c : cases) {
        const std::vector<int16_t> stereo = Mix(c.voices, c.name);
        EXPECT_NEAR(stereo[2 * 50], c.level, c.slack) << c.name;
        EXPECT_EQ(stereo[2 * 50 + 1], stereo[2 * 50]) << c.name;
        EXPECT_EQ(stereo[2 * 150], 0) << c.name;  // 100 frames, then silence
    }
    EXPECT_TRUE(ShownMessageBoxes().empty());
}

// A chunk of odd size is followed by a pad byte that belongs to no chunk: 8-bit mono sounds of
// odd length have one after their data, often followed by the tags editors add. The pad is
// skipped, never taken for a chunk or heard as a sample.
TEST_F(WaveFormatsTest, OddSizedChunksAreFollowedByAPadByte) {
    const std::vector<uint8_t> tags = {'I', 'N', 'F', 'O', 'I', 'S', 'F', 'T', 5, 0, 0, 0, 's', 'o', 'x', '!', 0};
    const std::vector<uint8_t> odd = PlainWave(1, 8, std::vector<uint8_t>(101, 192), 1);  // 101 bytes of data
    const std::vector<uint8_t> even = PlainWave(1, 8, std::vector<uint8_t>(100, 192), 1);
    const struct {
        const char* name;
        std::vector<uint8_t> file;
        int frames;
    } cases[] = {
        {"odd data, then tags", WithChunk(odd, odd.size(), "LIST", tags), 101},
        {"odd tags, then data", WithChunk(even, 36, "LIST", tags), 100},
    };
    for (const auto& c : cases) {
        const std::vector<int16_t> stereo = Mix({c.file}, c.name);
        EXPECT_NEAR(stereo[2 * (c.frames - 1)], 16384, 1) << c.name;  // 192 is half way up
        EXPECT_EQ(stereo[2 * c.frames], 0) << c.name;
    }
    EXPECT_TRUE(ShownMessageBoxes().empty());
}
