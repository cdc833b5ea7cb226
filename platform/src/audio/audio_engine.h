// audio_engine.h -- the sound device and the voices mixed into it. One performance owns the
// device at a time; secondary voices overlap freely, primary voices play one after another.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace audio {

// A wave in the device's format: interleaved 16-bit stereo at the device's frequency.
struct Wave {
    std::vector<int16_t> samples;
    std::string name;
};
using WaveRef = std::shared_ptr<const Wave>;

constexpr uint32_t kRepeatForever = 0xFFFFFFFF;

bool OpenDevice();
void CloseDevice();
bool IsDeviceOpen();

// Decodes a checked RIFF WAVE image into the device's format; null when it cannot.
WaveRef ConvertWave(const std::vector<uint8_t>& file, const std::string& name);

// owner identifies who plays the wave (a segment), for Stop and IsSounding.
void PlaySecondary(uint64_t owner, WaveRef wave, uint32_t repeats);
// Stops the primary voice and everything queued, and plays this one at once.
void PlayPrimary(uint64_t owner, WaveRef wave, uint32_t repeats);
// Plays after the primary voice and those queued before it have ended.
void QueuePrimary(uint64_t owner, WaveRef wave, uint32_t repeats);
// Stops every voice (queued ones too) of the owner; of every owner when owner is 0.
void Stop(uint64_t owner);
bool IsSounding(uint64_t owner);

}  // namespace audio
