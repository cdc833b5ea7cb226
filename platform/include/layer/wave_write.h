// layer/wave_write.h -- writes 16-bit PCM wave files, for tests and the content generator.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace layer {

// The RIFF WAVE image of 16-bit PCM samples, interleaved when there is more than one channel.
inline std::vector<uint8_t> MakeWave16(const std::vector<int16_t>& samples, int channels, int samplesPerSecond) {
    std::vector<uint8_t> out;
    out.reserve(44 + samples.size() * 2);
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&out](uint16_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto tag = [&out](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
    };
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    uint16_t blockAlign = static_cast<uint16_t>(channels * 2);
    tag("RIFF");
    put32(36 + dataBytes + (dataBytes & 1));
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(1);  // PCM
    put16(static_cast<uint16_t>(channels));
    put32(static_cast<uint32_t>(samplesPerSecond));
    put32(static_cast<uint32_t>(samplesPerSecond) * blockAlign);
    put16(blockAlign);
    put16(16);
    tag("data");
    put32(dataBytes);
    for (int16_t s : samples) put16(static_cast<uint16_t>(s));
    return out;
}

// Writes the wave to a file (a path of this machine); false when it cannot be written.
inline bool WriteWave16(const std::string& path, const std::vector<int16_t>& samples, int channels,
                        int samplesPerSecond) {
    std::vector<uint8_t> image = MakeWave16(samples, channels, samplesPerSecond);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace layer
