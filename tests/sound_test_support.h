// sound_test_support.h -- small wave files for the sound tests, written into the working directory.
#pragma once

#include <string>
#include <vector>

#include "layer/wave_write.h"

// A stereo wave at the device's rate whose every sample is level, so mixed levels add up exactly.
inline void WriteLevelWave(const std::string& path, int16_t level, int frames) {
    layer::WriteWave16(path, std::vector<int16_t>(static_cast<size_t>(frames) * 2, level), 2, 44100);
}

// The left-channel samples of the next frames mixed by the layer.
inline std::vector<int16_t> MixLeft(int frames) {
    std::vector<int16_t> stereo(static_cast<size_t>(frames) * 2);
    layer::MixAudio(stereo.data(), frames);
    std::vector<int16_t> left(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i) left[i] = stereo[static_cast<size_t>(i) * 2];
    return left;
}
