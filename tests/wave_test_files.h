// wave_test_files.h -- wave files as other tools write them (extensible format headers), for the
// tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace wave_test {

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
inline std::vector<uint8_t> ExtensibleWave(const ExtensibleHeader& h, const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> f;
    auto put16 = [&f](uint32_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(v), put16(v >> 16); };
    auto tag = [&](const char* t) { put32(uint8_t(t[0]) | t[1] << 8 | t[2] << 16 | uint32_t(t[3]) << 24); };
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

// The same with a plain 16-byte format header of the given tag (1 PCM, 3 float), as most tools
// write 8 and 16-bit files.
inline std::vector<uint8_t> PlainWave(uint16_t tag, uint16_t bits, const std::vector<uint8_t>& samples,
                                      uint16_t channels = 2) {
    ExtensibleHeader h;
    h.channels = channels;
    h.bits = h.validBits = bits;
    h.formatBytes = 16;
    std::vector<uint8_t> f = ExtensibleWave(h, samples);
    f[20] = uint8_t(tag), f[21] = uint8_t(tag >> 8);
    return f;
}

// `frames` stereo frames of one sample value of `bytes` bytes, little-endian.
inline std::vector<uint8_t> Frames(uint64_t value, int bytes, int frames) {
    std::vector<uint8_t> out;
    for (int i = 0; i < frames * 2; ++i)
        for (int b = 0; b < bytes; ++b) out.push_back(uint8_t(value >> (8 * b)));
    return out;
}

}  // namespace wave_test
