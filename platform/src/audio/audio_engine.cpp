// audio_engine.cpp -- the voices of the performance mixed over SDL2_mixer. SDL2_mixer opens the
// device and decodes the waves; the mixing itself runs in the mixer's music hook, so that a
// queued voice starts on the sample after the one before it ends.
#include "audio/audio_engine.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <deque>
#include <list>
#include <mutex>

#include "layer/audio.h"

namespace audio {
namespace {

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
constexpr int kChunkFrames = 1024;

struct Voice {
    uint64_t owner;
    WaveRef wave;
    uint32_t repeatsLeft;
    size_t frame = 0;
};

struct EngineState {
    std::mutex lock;
    bool open = false;
    bool manual = false;
    std::list<Voice> secondary;
    std::deque<Voice> primary;  // front: sounding; the rest: queued
    std::vector<int32_t> accumulator;  // the device callback's mixing space, kept between calls
};

EngineState& Engine() {
    static EngineState engine;
    return engine;
}

size_t Frames(const Voice& v) { return v.wave->samples.size() / kChannels; }

// Adds up to frames of the voice into out; false once the voice has ended. A voice with an
// empty wave ends at once, whatever its repeats.
bool MixVoice(Voice& v, int32_t* out, int frames, int& used) {
    used = 0;
    size_t total = Frames(v);
    while (used < frames && total > 0) {
        if (v.frame >= total) {
            if (v.repeatsLeft == 0) break;
            if (v.repeatsLeft != kRepeatForever) --v.repeatsLeft;
            v.frame = 0;
        }
        size_t n = std::min<size_t>(frames - used, total - v.frame);
        const int16_t* src = v.wave->samples.data() + v.frame * kChannels;
        for (size_t k = 0; k < n * kChannels; ++k) out[used * kChannels + k] += src[k];
        v.frame += n;
        used += static_cast<int>(n);
    }
    return total > 0 && (v.frame < total || v.repeatsLeft > 0);
}

// Mixes every voice into the 32-bit accumulator; the caller holds the lock.
void MixLocked(EngineState& e, int32_t* acc, int frames) {
    for (auto it = e.secondary.begin(); it != e.secondary.end();) {
        int used;
        it = MixVoice(*it, acc, frames, used) ? std::next(it) : e.secondary.erase(it);
    }
    int done = 0;
    while (done < frames && !e.primary.empty()) {
        int used;
        if (MixVoice(e.primary.front(), acc + done * kChannels, frames - done, used)) break;
        done += used;
        e.primary.pop_front();
    }
}

void AddClamped(const int32_t* acc, int16_t* out, int samples) {
    for (int k = 0; k < samples; ++k)
        out[k] = static_cast<int16_t>(std::clamp<int32_t>(out[k] + acc[k], -32768, 32767));
}

void MixHook(void*, Uint8* stream, int len) {
    EngineState& e = Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    if (e.manual) return;
    int samples = len / static_cast<int>(sizeof(int16_t));
    e.accumulator.assign(static_cast<size_t>(samples), 0);
    MixLocked(e, e.accumulator.data(), samples / kChannels);
    AddClamped(e.accumulator.data(), reinterpret_cast<int16_t*>(stream), samples);
}

void Start(uint64_t owner, WaveRef wave, uint32_t repeats, bool secondary, bool replace) {
    EngineState& e = Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    if (!e.open || !wave) return;
    Voice v{owner, std::move(wave), repeats};
    if (secondary) {
        e.secondary.push_back(std::move(v));
        return;
    }
    if (replace) e.primary.clear();
    e.primary.push_back(std::move(v));
}

}  // namespace

bool OpenDevice() {
    EngineState& e = Engine();
    if (e.open) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kChunkFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(e.lock);
        e.open = true;
    }
    Mix_HookMusic(MixHook, nullptr);
    return true;
}

void CloseDevice() {
    EngineState& e = Engine();
    if (!e.open) return;
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    std::lock_guard<std::mutex> guard(e.lock);
    e.secondary.clear();
    e.primary.clear();
    e.open = false;
}

bool IsDeviceOpen() { return Engine().open; }

WaveRef ConvertWave(const std::vector<uint8_t>& file, const std::string& name) {
    if (!IsDeviceOpen() || file.empty()) return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(file.data(), static_cast<int>(file.size()));
    Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
    if (!chunk) return nullptr;
    auto wave = std::make_shared<Wave>();
    const auto* pcm = reinterpret_cast<const int16_t*>(chunk->abuf);
    wave->samples.assign(pcm, pcm + chunk->alen / sizeof(int16_t));
    wave->samples.resize(wave->samples.size() / kChannels * kChannels);
    wave->name = name;
    Mix_FreeChunk(chunk);
    return wave;
}

void PlaySecondary(uint64_t owner, WaveRef wave, uint32_t repeats) {
    Start(owner, std::move(wave), repeats, true, false);
}

void PlayPrimary(uint64_t owner, WaveRef wave, uint32_t repeats) {
    Start(owner, std::move(wave), repeats, false, true);
}

void QueuePrimary(uint64_t owner, WaveRef wave, uint32_t repeats) {
    Start(owner, std::move(wave), repeats, false, false);
}

void Stop(uint64_t owner) {
    EngineState& e = Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    auto matches = [owner](const Voice& v) { return owner == 0 || v.owner == owner; };
    e.secondary.remove_if(matches);
    e.primary.erase(std::remove_if(e.primary.begin(), e.primary.end(), matches), e.primary.end());
}

bool IsSounding(uint64_t owner) {
    EngineState& e = Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    if (!e.primary.empty() && e.primary.front().owner == owner) return true;
    return std::any_of(e.secondary.begin(), e.secondary.end(), [owner](const Voice& v) { return v.owner == owner; });
}

}  // namespace audio

namespace layer {

void SetManualAudioMixing(bool manual) {
    std::lock_guard<std::mutex> guard(audio::Engine().lock);
    audio::Engine().manual = manual;
}

void MixAudio(int16_t* out, int frames) {
    std::fill(out, out + frames * audio::kChannels, int16_t(0));
    std::vector<int32_t> acc(static_cast<size_t>(frames) * audio::kChannels, 0);
    audio::EngineState& e = audio::Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    audio::MixLocked(e, acc.data(), frames);
    audio::AddClamped(acc.data(), out, frames * audio::kChannels);
}

int AudioFrequency() { return audio::IsDeviceOpen() ? audio::kFrequency : 0; }

std::vector<std::string> SoundingWaves() {
    audio::EngineState& e = audio::Engine();
    std::lock_guard<std::mutex> guard(e.lock);
    std::vector<std::string> names;
    if (!e.primary.empty()) names.push_back(e.primary.front().wave->name);
    for (const audio::Voice& v : e.secondary) names.push_back(v.wave->name);
    return names;
}

}  // namespace layer
