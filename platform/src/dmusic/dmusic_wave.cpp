// dmusic_wave.cpp -- RIFF WAVE checking: every size and count is bounded by the file's length,
// so a truncated or damaged file is refused before the decoder sees it.
#include "dmusic/dmusic_wave.h"

#include <cstring>

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;
// An extensible header: the 16 common bytes, the extension's size (at least 22), the valid bits
// of a sample, the speaker mask and the subformat: a GUID whose first two bytes are the tag.
constexpr size_t kExtensibleFormatBytes = 40;
constexpr uint8_t kSubformatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint32_t Read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The tag an extensible header stands for, or 0 when its extension is short or its subformat is
// neither PCM nor float. `format` points at the chunk's data, `size` bytes of it.
uint16_t ExtensibleTag(const uint8_t* format, size_t size, uint16_t bitsPerSample) {
    if (size < kExtensibleFormatBytes || Read16(format + 16) < 22) return 0;
    if (Read16(format + 18) > bitsPerSample) return 0;  // more valid bits than the container holds
    const uint8_t* guid = format + 24;
    uint16_t tag = Read16(guid);
    if ((tag != kFormatPcm && tag != kFormatFloat) || std::memcmp(guid + 2, kSubformatTail, 14) != 0) return 0;
    return tag;
}

bool FormatIsPlayable(const WaveFormatInfo& f, uint16_t blockAlign) {
    bool pcm = f.formatTag == kFormatPcm &&
               (f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 || f.bitsPerSample == 32);
    bool flt = f.formatTag == kFormatFloat && f.bitsPerSample == 32;
    return (pcm || flt) && f.channels >= 1 && f.channels <= 8 && f.samplesPerSecond >= 1000 &&
           f.samplesPerSecond <= 384000 && blockAlign == f.channels * f.bitsPerSample / 8;
}

}  // namespace

bool LooksLikeWave(const std::vector<uint8_t>& file) {
    return file.size() >= 12 && std::memcmp(file.data(), "RIFF", 4) == 0 && std::memcmp(file.data() + 8, "WAVE", 4) == 0;
}

bool CheckWave(const std::vector<uint8_t>& file, WaveFormatInfo& info) {
    if (!LooksLikeWave(file)) return false;
    size_t riffEnd = 8 + static_cast<size_t>(Read32(file.data() + 4));
    if (riffEnd > file.size()) return false;

    bool haveFormat = false, haveData = false;
    uint16_t blockAlign = 0;
    size_t pos = 12;
    while (pos + 8 <= riffEnd) {
        const uint8_t* chunk = file.data() + pos;
        size_t size = Read32(chunk + 4);
        if (size > riffEnd - pos - 8) return false;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || haveFormat) return false;
            info.formatTag = Read16(chunk + 8);
            info.channels = Read16(chunk + 10);
            info.samplesPerSecond = Read32(chunk + 12);
            blockAlign = Read16(chunk + 20);
            info.bitsPerSample = Read16(chunk + 22);
            if (info.formatTag == kFormatExtensible) info.formatTag = ExtensibleTag(chunk + 8, size, info.bitsPerSample);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || haveData) return false;
            info.dataBytes = static_cast<uint32_t>(size);
            haveData = true;
        }
        pos += 8 + size + (size & 1);
    }
    return haveFormat && haveData && FormatIsPlayable(info, blockAlign) && info.dataBytes % blockAlign == 0;
}
