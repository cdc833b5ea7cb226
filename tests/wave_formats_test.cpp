// wave_formats_test.cpp -- wave files as other tools write them, through the game's sound object:
// extensible format headers with PCM or float samples play, other subformats are refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/sound_object.h"
#include "layer/audio.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"

namespace {

struct ExtensibleHeader {
    uint16_t channels = 2;
    uint16_t bits = 24;
    uint16_t validBits = 24;
    uint16_t subformat = 1;  // 1 PCM, 3 float, 2 ADPCM ...
    uint32_t formatBytes = 40;
    uint16_t extensionBytes = 22;
    bool foreignGuid = false;
};

// A RIFF WAVE image with an extensible format header at 44100 frames a second around the
// given sample bytes.
std::vector<uint8_t> ExtensibleWave(const ExtensibleHeader& h, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> f;
    auto put16 = [&f](uint32_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(v), put16(v >> 16); };
    auto tag = [&f](const char* t) { f.insert(f.end(), t, t + 4); };
    const uint16_t block = uint16_t(h.channels * h.bits / 8);
    tag("RIFF"), put32(0), tag("WAVE"), tag("fmt "), put32(h.formatBytes);
    put16(0xFFFE), put16(h.channels), put32(44100), put32(44100u * block), put16(block), put16(h.bits);
    if (h.formatBytes > 16) put16(h.extensionBytes);
    if (h.formatBytes >= 40) {
        put16(h.validBits), put32(h.channels == 2 ? 3 : 4), put32(h.subformat), put16(0), put16(0x10);
        const uint8_t tail[8] = {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, uint8_t(h.foreignGuid ? 0x72 : 0x71)};
        f.insert(f.end(), tail, tail + 8);
    }
    f.resize(20 + h.formatBytes, 0);
    tag("data"), put32(uint32_t(samples.size()));
    f.insert(f.end(), samples.begin(), samples.end());
    if (samples.size() & 1) f.push_back(0);
    const uint32_t riff = uint32_t(f.size() - 8);
    std::memcpy(&f[4], &riff, 4);
    return f;
}

// `frames` stereo frames of one sample value of `bytes` bytes, little-endian.
std::vector<uint8_t> Frames(uint64_t value, int bytes, int frames) {
    std::vector<uint8_t> out;
    for (int i = 0; i < frames * 2; ++i)
        for (int b = 0; b < bytes; ++b) out.push_back(uint8_t(value >> (8 * b)));
    return out;
}

uint32_t FloatBits(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return bits;
}

void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

class WaveFormatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // another test may have left a driver that cannot open
        std::filesystem::create_directory("sound");
        layer::SetManualAudioMixing(true);
        layer::ClearShownMessageBoxes();
    }
    void TearDown() override { layer::SetManualAudioMixing(false); }

    ScratchDir dir;
};

}  // namespace

TEST_F(WaveFormatsTest, ExtensibleHeadersWithPcmOrFloatSamplesPlayAtTheirLevel) {
    struct Case {
        const char* name;
        ExtensibleHeader header;
        std::vector<uint8_t> samples;
        int level;  // 16-bit level heard
    };
    const Case cases[] = {
        {"24-bit", {}, Frames(0x123456, 3, 100), 0x1234},
        {"24-bit, 20 valid", {2, 24, 20, 1}, Frames(0xE00000, 3, 100), -0x2000},
        {"32-bit float", {2, 32, 32, 3}, Frames(FloatBits(0.25f), 4, 100), 8192},
        {"16-bit, longer extension", {2, 16, 16, 1, 48, 30}, Frames(0x0800, 2, 100), 0x0800},
    };
    CSoundManager sound(nullptr);
    for (const Case& c : cases) {
        const std::string file = std::string("sound\\") + c.name + ".wav";
        Write("sound/" + std::string(c.name) + ".wav", ExtensibleWave(c.header, c.samples));
        const int slot = sound.LoadSegment(file.c_str());
        ASSERT_GE(slot, 0) << c.name;
        sound.PlaySegment(slot, 0, DMUS_SEGF_SECONDARY);
        std::vector<int16_t> stereo(2 * 200);
        layer::MixAudio(stereo.data(), 200);
        EXPECT_NEAR(stereo[2 * 50], c.level, 2) << c.name;
        EXPECT_EQ(stereo[2 * 50 + 1], stereo[2 * 50]) << c.name;
        EXPECT_EQ(stereo[2 * 150], 0) << c.name;  // 100 frames, then silence
        sound.FreeSegment(slot);
    }
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
}

TEST_F(WaveFormatsTest, ExtensibleHeadersOfOtherKindsAreRefused) {
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
    CSoundManager sound(nullptr);
    for (const auto& c : cases) {
        Write("sound/bad.wav", ExtensibleWave(c.header, Frames(0, c.sampleBytes, 10)));
        layer::ClearShownMessageBoxes();
        EXPECT_EQ(sound.LoadSegment("sound\\bad.wav"), -1) << c.name;
        EXPECT_FALSE(layer::ShownMessageBoxes().empty()) << c.name;
    }
}
