// sound_synth.cpp -- the sound effects: weapons, landings, warnings, explosions, kills.
#include "content/synth.h"

namespace content {

void Wave::Normalize(float peak) {
    float m = 0;
    for (float v : s) m = std::max(m, std::fabs(v));
    if (m <= 0) return;
    for (float& v : s) v *= peak / m;
}

void Wave::FadeEdges(float inSeconds, float outSeconds) {
    size_t in = At(inSeconds), out = At(outSeconds);
    for (size_t i = 0; i < in && i < s.size(); ++i) s[i] *= float(i) / in;
    for (size_t i = 0; i < out && i < s.size(); ++i) s[s.size() - 1 - i] *= float(i) / out;
}

namespace {

float Noise(Rng& rng) { return rng.Uniform() * 2 - 1; }

// A gunshot: a bright crack that darkens as it decays, over a low body thump and a tail.
Wave Shot(float seconds, float crackDecay, float bodyHz, float bodyDecay, float tailDecay, float brightness, uint32_t seed) {
    Wave w(seconds);
    Rng rng(seed);
    LowPass crackFilter, tailFilter;
    float phase = 0;
    Fill(w, [&](float t) {
        float n = Noise(rng);
        float crack = crackFilter.Run(n, brightness * std::exp(-t * 18) + 400) * Env(t, 0.0005f, crackDecay) * 1.6f;
        phase += (bodyHz * (1 + 0.6f * std::exp(-t * 30))) / kSampleRate;
        float body = std::sin(kTwoPi * phase) * Env(t, 0.002f, bodyDecay);
        float tail = tailFilter.Run(n, 900) * Env(t, 0.01f, tailDecay) * 0.5f;
        return crack + body + tail;
    });
    return w;
}

// A mechanical click: a very short burst ringing at a metal resonance.
void AddClick(Wave& w, float at, float hz, float level, uint32_t seed) {
    Rng rng(seed);
    BandPass ring;
    for (size_t i = w.At(at); i < w.s.size() && i < w.At(at + 0.08f); ++i) {
        float t = float(i) / kSampleRate - at;
        float excite = t < 0.004f ? Noise(rng) : 0.0f;
        w.s[i] += ring.Run(excite, hz, 12) * level * Env(t, 0.0003f, 0.02f);
    }
}

Wave Chainsaw() {
    Wave w(0.14f);
    Rng rng(21);
    LowPass lp;
    float phase = 0;
    Fill(w, [&](float t) {
        phase += (96 + 30 * t) / kSampleRate;
        float chug = 0.6f + 0.4f * std::sin(kTwoPi * 38 * t);
        float engine = lp.Run(Saw(phase) + 0.5f * Square(phase * 2.01f), 2200) * chug;
        return (engine + 0.25f * Noise(rng)) * Env(t, 0.006f, 0.2f);
    });
    w.FadeEdges(0.004f, 0.02f);
    return w;
}

Wave Shotgun() {
    Wave w = Shot(0.95f, 0.06f, 70, 0.16f, 0.22f, 5200, 31);
    AddClick(w, 0.46f, 1900, 0.9f, 32);  // the pump back
    AddClick(w, 0.50f, 900, 0.6f, 33);
    AddClick(w, 0.63f, 2300, 0.9f, 34);  // and forward
    return w;
}

Wave SniperRifle() {
    Wave w = Shot(2.0f, 0.08f, 55, 0.3f, 0.55f, 6500, 41);
    AddClick(w, 1.05f, 1500, 0.5f, 42);  // the bolt
    AddClick(w, 1.22f, 2100, 0.5f, 43);
    return w;
}

Wave Flame() {
    Wave w(0.13f);
    Rng rng(51);
    BandPass bp;
    LowPass rumble;
    Fill(w, [&](float t) {
        float n = Noise(rng);
        return (bp.Run(n, 900 + 1400 * t, 1.2f) * 1.2f + rumble.Run(n, 180) * 2.0f) * Env(t, 0.02f, 0.12f);
    });
    w.FadeEdges(0.005f, 0.03f);
    return w;
}

Wave Landing() {
    Wave w(0.7f);
    Rng rng(61);
    LowPass lp;
    float phase = 0;
    Fill(w, [&](float t) {
        phase += (48 + 70 * std::exp(-t * 12)) / kSampleRate;
        return std::sin(kTwoPi * phase) * Env(t, 0.003f, 0.2f) + lp.Run(Noise(rng), 500) * Env(t, 0.001f, 0.09f) * 2.5f;
    });
    return w;
}

Wave Zoom() {
    Wave w(0.3f);
    float phase = 0;
    LowPass lp;
    for (size_t i = w.At(0.03f); i < w.At(0.22f); ++i) {
        float t = float(i) / kSampleRate - 0.03f;
        phase += (620 + 900 * t) / kSampleRate;
        w.s[i] = lp.Run(Square(phase), 2500) * 0.25f * std::sin(3.1415927f * t / 0.19f);
    }
    AddClick(w, 0.0f, 2600, 1.0f, 71);
    AddClick(w, 0.23f, 3100, 0.8f, 72);
    return w;
}

// Notes of a little square-wave tune: pairs of frequency and start time.
Wave Blips(const float* notes, int count, float length, float seconds) {
    Wave w(seconds);
    LowPass lp;
    for (int k = 0; k < count; ++k) {
        float hz = notes[2 * k], at = notes[2 * k + 1];
        float phase = 0;
        for (size_t i = w.At(at); i < w.s.size() && i < w.At(at + length); ++i) {
            float t = float(i) / kSampleRate - at;
            phase += hz / kSampleRate;
            w.s[i] += Square(phase) * 0.4f * Env(t, 0.004f, length * 0.6f);
        }
    }
    for (float& v : w.s) v = lp.Run(v, 3500);
    return w;
}

Wave Fallback() {
    Wave w(1.9f);
    float phase = 0;
    Fill(w, [&](float t) {
        float hz = 2100 * std::exp(-t * 0.75f) * (1 + 0.012f * std::sin(kTwoPi * 6 * t));
        phase += hz / kSampleRate;
        return std::sin(kTwoPi * phase) * Env(t, 0.05f, 3.0f) * (0.9f - 0.35f * t / 1.9f);
    });
    w.FadeEdges(0.01f, 0.15f);
    return w;
}

// The "wrong target" buzz: two falling notes of a soft, slightly beating square tone, each
// swelling in and dying away, kept no louder than the game's other sounds.
Wave Buzzer() {
    Wave w(0.8f);
    LowPass lp, lp2;
    float a = 0, b = 0;
    Fill(w, [&](float t) {
        bool second = t >= 0.36f;
        float start = second ? 0.36f : 0.0f, hz = second ? 123.0f : 150.0f;
        a += hz / kSampleRate;
        b += hz * 1.06f / kSampleRate;
        float note = Env(t - start, 0.02f, 0.11f);
        return lp2.Run(lp.Run((Square(a) + Square(b)) * 0.5f, 1100), 1400) * note;
    });
    w.FadeEdges(0.005f, 0.05f);
    return w;
}

Wave Fuse() {
    Wave w(1.6f);
    Rng rng(81);
    LowPass lp;
    Fill(w, [&](float t) {
        float n = Noise(rng);
        return (n - lp.Run(n, 3000)) * 0.35f * (0.6f + 0.4f * Noise2(t * 40, 0, 5));  // the fuse's hiss
    });
    // Beeps that come ever faster.
    float at = 0.05f, gap = 0.32f;
    while (at < 1.5f) {
        float phase = 0;
        for (size_t i = w.At(at); i < w.s.size() && i < w.At(at + 0.06f); ++i) {
            phase += 1760.0f / kSampleRate;
            w.s[i] += Square(phase) * 0.3f;
        }
        at += gap;
        gap *= 0.78f;
        if (gap < 0.08f) gap = 0.08f;
    }
    w.FadeEdges(0.01f, 0.05f);
    return w;
}

Wave Explosion() {
    Wave w(1.8f);
    Rng rng(91);
    LowPass lp, lp2;
    float phase = 0;
    Fill(w, [&](float t) {
        float n = Noise(rng);
        float roar = lp.Run(n, 200 + 3000 * std::exp(-t * 6)) * Env(t, 0.004f, 0.5f) * 2.2f;
        phase += (40 + 40 * std::exp(-t * 5)) / kSampleRate;
        float boom = std::sin(kTwoPi * phase) * Env(t, 0.005f, 0.45f);
        float crackle = rng.Uniform() > 0.9985f - 0.002f * std::exp(-t * 2) ? Noise(rng) * 0.8f : 0.0f;
        return roar + boom + lp2.Run(crackle, 4000) * 2.0f * Env(t, 0.05f, 0.6f);
    });
    w.FadeEdges(0.001f, 0.2f);
    return w;
}

Wave Croak() {
    Wave w(0.45f);
    BandPass f1, f2;
    float phase = 0;
    Fill(w, [&](float t) {
        float hz = 34 + 10 * std::sin(kTwoPi * 2.2f * t);
        phase += hz / kSampleRate;
        float pulse = (phase - std::floor(phase)) < 0.12f ? 1.0f : 0.0f;  // glottal clicks
        float gate = (t < 0.16f || t > 0.22f) ? 1.0f : 0.15f;             // "kr" ... "k"
        float v = f1.Run(pulse, 520, 5) + 0.7f * f2.Run(pulse, 1250, 6);
        return v * gate * Env(t, 0.01f, 0.3f);
    });
    w.FadeEdges(0.005f, 0.04f);
    return w;
}

Wave Squeal(float fromHz, float peakHz, float toHz, float seconds, uint32_t seed) {
    Wave w(seconds);
    Rng rng(seed);
    LowPass lp;
    float phase = 0;
    Fill(w, [&](float t) {
        float u = t / seconds;
        float hz = u < 0.3f ? fromHz + (peakHz - fromHz) * u / 0.3f : peakHz + (toHz - peakHz) * (u - 0.3f) / 0.7f;
        hz *= 1 + 0.04f * std::sin(kTwoPi * 11 * t);
        phase += hz / kSampleRate;
        float voice = (std::sin(kTwoPi * phase) + 0.3f * Saw(phase)) * Env(t, 0.01f, seconds * 0.6f);
        float splat = lp.Run(Noise(rng), 1200) * Env(t, 0.001f, 0.06f) * 2.0f;
        return voice * 0.7f + splat;
    });
    w.FadeEdges(0.002f, 0.05f);
    return w;
}

Wave Splat() {
    Wave w(0.6f);
    Rng rng(111);
    LowPass lp;
    BandPass bubble;
    Fill(w, [&](float t) {
        float n = Noise(rng);
        float bubbleHz = 300 + 500 * Noise2(t * 25, 1, 9);
        return lp.Run(n, 900) * Env(t, 0.001f, 0.08f) * 2.5f + bubble.Run(n, bubbleHz, 9) * Env(t, 0.05f, 0.2f) * 0.8f;
    });
    w.FadeEdges(0.001f, 0.05f);
    return w;
}

Wave Gurgle() {
    Wave w(0.7f);
    BandPass bp;
    float phase = 0;
    Fill(w, [&](float t) {
        phase += (520 * std::exp(-t * 2.5f)) / kSampleRate;
        float wobble = 0.5f + 0.5f * std::sin(kTwoPi * 17 * t);
        return (std::sin(kTwoPi * phase) * wobble + 0.4f * bp.Run(Square(phase * 0.5f), 700, 4)) * Env(t, 0.01f, 0.3f);
    });
    w.FadeEdges(0.002f, 0.05f);
    return w;
}

void Save(const std::string& root, const char* path, Wave w, float peak = 0.9f) {
    w.Normalize(peak);
    WriteGameFile(root, path, EncodeWav16(w.s, kSampleRate));
}

}  // namespace

void WriteSoundEffects(const std::string& root) {
    Save(root, "sound\\motor.wav", Chainsaw(), 0.7f);
    Save(root, "sound\\deagle.wav", Shot(0.55f, 0.03f, 120, 0.07f, 0.16f, 7000, 11));
    Save(root, "sound\\shotgun.wav", Shotgun());
    Save(root, "sound\\kalach.wav", Shot(0.15f, 0.02f, 150, 0.04f, 0.05f, 6000, 12), 0.8f);
    Save(root, "sound\\awm.wav", SniperRifle());
    Save(root, "sound\\plamen.wav", Flame(), 0.6f);
    Save(root, "sound\\zuch.wav", Landing());
    Save(root, "sound\\zoom.wav", Zoom(), 0.6f);
    const float down[] = {1046.5f, 0.0f, 784.0f, 0.12f, 523.3f, 0.24f};
    Save(root, "sound\\enemydown.wav", Blips(down, 3, 0.14f, 0.45f), 0.6f);
    Save(root, "sound\\fallback.wav", Fallback(), 0.6f);
    Save(root, "sound\\hosdown.wav", Buzzer(), 0.5f);
    Save(root, "sound\\blow.wav", Fuse(), 0.7f);
    Save(root, "sound\\explode.wav", Explosion());
    Save(root, "sound\\krk.wav", Croak(), 0.8f);
    Save(root, "sound\\kill1.wav", Squeal(600, 1400, 280, 0.55f, 121), 0.8f);
    Save(root, "sound\\kill2.wav", Splat(), 0.8f);
    Save(root, "sound\\kill3.wav", Gurgle(), 0.8f);
}

}  // namespace content
