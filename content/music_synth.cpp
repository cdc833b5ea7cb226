// music_synth.cpp -- melidrak.wav: the intro's music, 92 seconds at 92 beats a minute.
//
// A minor loop of four chords (Am, F, C, G), one bar each. It opens with a pad, gains hats,
// bass and drums, an arpeggio and then a lead, and swells into its climax when the last VUGA
// flies in at 80.7 s. Every slide of the intro lands on a struck accent: a cymbal and a bell.
#include "content/synth.h"

namespace content {
namespace {

const float kBeat = 60.0f / 92.0f;
const float kBar = 4 * kBeat;
const float kLength = 92.0f;

// When each slide of the intro appears, in milliseconds.
const int kSlideTimes[] = {200,   3379,  4262,  5000,  7535,  13051, 15134, 16793, 20000, 23200, 24409,
                           27689, 29156, 29838, 30495, 31183, 31878, 32576, 33147, 35169, 38729, 39144,
                           40100, 44812, 47189, 50640, 53000, 58170, 58716, 59465, 61426, 63176, 67907,
                           69771, 71633, 74000, 77710, 78226, 79115, 80739, 84739};

const int kChords[4][3] = {{57, 60, 64}, {53, 57, 60}, {55, 60, 64}, {55, 59, 62}};
const int kBass[4] = {45, 41, 36, 43};

float Hz(float midi) { return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f); }
int ChordAt(float t) { return int(t / kBar) % 4; }

enum Shape { SINE, SAW, SQUARE, TRIANGLE };

float Osc(Shape shape, float phase) {
    switch (shape) {
    case SAW:
        return Saw(phase);
    case SQUARE:
        return Square(phase);
    case TRIANGLE:
        return 1.0f - 4.0f * std::fabs(phase - std::floor(phase) - 0.5f);
    default:
        return std::sin(kTwoPi * phase);
    }
}

void AddNote(Wave& w, float at, float length, float hz, Shape shape, float amp, float attack, float decay) {
    float phase = 0;
    size_t end = std::min(w.s.size(), w.At(at + length + decay * 4));
    for (size_t i = w.At(at); i < end; ++i) {
        float t = float(i) / kSampleRate - at;
        float env = t < attack ? t / attack : (t < length ? 1.0f : std::exp(-(t - length) / decay));
        phase += hz / kSampleRate;
        w.s[i] += Osc(shape, phase) * amp * env;
    }
}

void AddKick(Wave& w, float at, float amp) {
    float phase = 0;
    for (size_t i = w.At(at); i < w.s.size() && i < w.At(at + 0.35f); ++i) {
        float t = float(i) / kSampleRate - at;
        phase += (50 + 110 * std::exp(-t * 35)) / kSampleRate;
        w.s[i] += std::sin(kTwoPi * phase) * amp * Env(t, 0.001f, 0.12f);
    }
}

void AddNoiseHit(Wave& w, float at, float seconds, float decay, float amp, float cutoff, bool high, Rng& rng) {
    LowPass lp;
    for (size_t i = w.At(at); i < w.s.size() && i < w.At(at + seconds); ++i) {
        float t = float(i) / kSampleRate - at;
        float n = rng.Uniform() * 2 - 1;
        float f = lp.Run(n, cutoff);
        w.s[i] += (high ? n - f : f) * amp * Env(t, 0.001f, decay);
    }
}

// The accent of a slide: a cymbal and a bell on the chord's root.
void AddAccent(Wave& w, float at, float amp, Rng& rng) {
    AddNoiseHit(w, at, 2.0f, 0.7f, 0.5f * amp, 3500, true, rng);
    float root = Hz(float(kChords[ChordAt(at)][0] + 24));
    AddNote(w, at, 0.01f, root, SINE, 0.35f * amp, 0.002f, 0.9f);
    AddNote(w, at, 0.01f, root * 2.76f, SINE, 0.12f * amp, 0.002f, 0.5f);
    AddKick(w, at, 0.8f * amp);
}

// How loud the whole piece is at a time: a quiet start, the climax, the fade.
float Master(float t) {
    float g = 0.75f + 0.25f * SmoothStep(79.0f, 80.7f, t);
    if (t > 89.0f) g *= Clamp01((kLength - t) / 3.0f);
    return g;
}

}  // namespace

void WriteIntroMusic(const std::string& root) {
    Wave music(kLength);
    Wave pad(kLength);
    Rng rng(9292);
    // The pad: each chord on two slightly detuned saws, darkened by one filter on the sum.
    for (float bar = 0; bar < kLength; bar += kBar) {
        const int* chord = kChords[ChordAt(bar + 0.01f)];
        for (int k = 0; k < 3; ++k)
            for (float detune : {0.998f, 1.002f}) AddNote(pad, bar, kBar, Hz(float(chord[k])) * detune, SAW, 0.09f, 0.4f, 0.5f);
    }
    LowPass padFilter;
    for (size_t i = 0; i < pad.s.size(); ++i) {
        float t = float(i) / kSampleRate;
        music.s[i] += padFilter.Run(pad.s[i], 700 + 900 * SmoothStep(70, 81, t));
    }
    // Rhythm: hats from the first photo of the crowd, kick and bass from 13 s, a snare from 24 s.
    for (float beat = 0; beat < 88.0f; beat += kBeat / 2) {
        int step = int(beat / (kBeat / 2) + 0.5f);
        if (beat > 7.5f) AddNoiseHit(music, beat, 0.08f, 0.025f, step % 2 ? 0.12f : 0.2f, 6000, true, rng);
        if (beat > 13.0f && step % 4 == 0) AddKick(music, beat, 0.7f);
        if (beat > 24.4f && step % 4 == 2) AddNoiseHit(music, beat, 0.3f, 0.09f, 0.4f, 2500, false, rng);
        if (beat > 13.0f) {
            float hz = Hz(float(kBass[ChordAt(beat + 0.01f)]));
            LowPass pluck;
            size_t from = music.At(beat), to = std::min(music.s.size(), music.At(beat + kBeat / 2));
            float phase = 0;
            for (size_t i = from; i < to; ++i) {
                float t = float(i) / kSampleRate - beat;
                phase += hz / kSampleRate;
                music.s[i] += pluck.Run(Saw(phase), 200 + 1500 * std::exp(-t * 12)) * 0.35f * Env(t, 0.003f, 0.2f);
            }
        }
        // The arpeggio, from 29 s to 53 s and again from 63 s.
        if ((beat > 29.0f && beat < 53.0f) || beat > 63.0f) {
            const int* chord = kChords[ChordAt(beat + 0.01f)];
            static const int kPattern[8] = {0, 1, 2, 1, 0, 2, 1, 2};
            int note = chord[kPattern[step % 8]] + 12 + (step % 8 >= 4 ? 12 : 0);
            AddNote(music, beat, 0.05f, Hz(float(note)), SQUARE, 0.05f, 0.003f, 0.12f);
        }
    }
    // The lead, a plain tune on the chord tones from 53 s to the end.
    static const int kTune[16] = {2, 1, 0, 1, 2, 2, 1, -1, 0, 1, 2, 1, 0, -1, 2, 0};
    for (float beat = 53.0f; beat < 88.0f; beat += kBeat) {
        int step = int((beat - 53.0f) / kBeat + 0.5f);
        int degree = kTune[step % 16];
        if (degree < 0) continue;
        int note = kChords[ChordAt(beat + 0.01f)][degree] + 12;
        AddNote(music, beat, kBeat * 0.8f, Hz(float(note)), TRIANGLE, 0.16f, 0.02f, 0.25f);
        AddNote(music, beat, kBeat * 0.8f, Hz(float(note)) * 1.003f, TRIANGLE, 0.08f, 0.02f, 0.25f);
    }
    // A rising sweep into the climax.
    {
        LowPass lp;
        for (size_t i = music.At(77.7f); i < music.At(80.7f); ++i) {
            float t = float(i) / kSampleRate - 77.7f;
            float n = rng.Uniform() * 2 - 1;
            music.s[i] += (n - lp.Run(n, 300 + 3000 * t)) * 0.12f * t;
        }
    }
    for (int ms : kSlideTimes) AddAccent(music, ms / 1000.0f, ms >= 80739 ? 1.5f : 1.0f, rng);
    // The last chord rings out under the closing picture.
    for (int k = 0; k < 3; ++k) AddNote(music, 84.739f, 3.5f, Hz(float(kChords[0][k] + 12)), TRIANGLE, 0.12f, 0.05f, 1.5f);
    for (size_t i = 0; i < music.s.size(); ++i) music.s[i] *= Master(float(i) / kSampleRate);
    music.FadeEdges(0.01f, 0.5f);
    music.Normalize(0.85f);
    WriteGameFile(root, "sound\\melidrak.wav", EncodeWav16(music.s, kSampleRate));
}

}  // namespace content
