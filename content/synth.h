// synth.h -- the small sound toolkit of the generator: a buffer, filters, envelopes.
#pragma once

#include <cmath>
#include <vector>

#include "content/content.h"

namespace content {

const int kSampleRate = 22050;
const float kTwoPi = 6.2831853f;

// A mono buffer of float samples at kSampleRate.
struct Wave {
    std::vector<float> s;
    explicit Wave(float seconds) : s(size_t(seconds * kSampleRate), 0.0f) {}
    size_t At(float seconds) const { return size_t(std::max(0.0f, seconds) * kSampleRate); }
    // Scales the whole wave so its loudest sample reaches `peak`.
    void Normalize(float peak);
    // Short fades at both ends so nothing clicks.
    void FadeEdges(float inSeconds, float outSeconds);
};

// One-pole low-pass; the coefficient comes from a cut-off in hertz.
struct LowPass {
    float y = 0;
    float Run(float x, float cutoff) {
        float a = 1.0f - std::exp(-kTwoPi * cutoff / kSampleRate);
        y += a * (x - y);
        return y;
    }
};

// A state-variable band-pass, for resonances and formants.
struct BandPass {
    float low = 0, band = 0;
    float Run(float x, float freq, float q) {
        float f = 2.0f * std::sin(3.1415927f * std::min(freq, kSampleRate / 6.0f) / kSampleRate);
        low += f * band;
        float high = x - low - band / q;
        band += f * high;
        return band;
    }
};

// Sets every sample of a wave from a function of its time in seconds.
template <class F>
void Fill(Wave& w, F f) {
    for (size_t i = 0; i < w.s.size(); ++i) w.s[i] = f(float(i) / kSampleRate);
}

inline float Env(float t, float attack, float decay) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

// A naive sawtooth and square, softened by the filters that follow them.
inline float Saw(float phase) { return 2.0f * (phase - std::floor(phase)) - 1.0f; }
inline float Square(float phase) { return (phase - std::floor(phase)) < 0.5f ? 1.0f : -1.0f; }

}  // namespace content
