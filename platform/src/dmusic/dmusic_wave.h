// dmusic_wave.h -- checks a RIFF WAVE file image before it is handed to the decoder.
#pragma once

#include <cstdint>
#include <vector>

struct WaveFormatInfo {
    uint16_t formatTag;  // 1 PCM, 3 float: an extensible header's subformat, 0 for one of another kind
    uint16_t channels;
    uint32_t samplesPerSecond;
    uint16_t bitsPerSample;
    uint32_t dataBytes;
};

// True when the bytes start like a RIFF WAVE file (whether or not the rest is sound).
bool LooksLikeWave(const std::vector<uint8_t>& file);
// True for a complete, well-formed PCM (8, 16, 24 or 32 bits) or 32-bit float wave, with a plain
// or an extensible format header, whose chunks all lie inside the file; fills info.
bool CheckWave(const std::vector<uint8_t>& file, WaveFormatInfo& info);
