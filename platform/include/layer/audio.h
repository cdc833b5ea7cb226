// layer/audio.h -- what the sound device is playing, and mixing by hand, for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace layer {

// While manual mixing is on, the device plays silence and the performance moves on only
// through MixAudio, so that tests step through sound without waiting for it.
void SetManualAudioMixing(bool manual);
// Mixes the next frames of what plays (16-bit stereo at AudioFrequency) into out, cleared first.
void MixAudio(int16_t* out, int frames);
// The device's frames per second; 0 while no device is open.
int AudioFrequency();

// The file names of the waves sounding now: the primary one first, then the secondary ones.
std::vector<std::string> SoundingWaves();

// Every wave the performance was asked to play, with its play flags, oldest first: the latest
// kPlayedWavesKept plays at least, and never more than twice as many.
struct PlayedWave {
    std::string file;
    uint32_t flags;
};
constexpr size_t kPlayedWavesKept = 1024;
const std::vector<PlayedWave>& PlayedWaves();
void ClearPlayedWaves();

// How many downloads of waves are in force (each Download counts until its Unload).
int WaveDownloads();

}  // namespace layer
