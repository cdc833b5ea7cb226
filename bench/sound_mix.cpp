// sound_mix.cpp -- how fast the performance mixes a busy scene: many overlapping shots over a
// primary sound, as rapid fire makes them. Mixes by hand under the dummy audio driver and
// reports the speed against real time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "game/sound_object.h"
#include "layer/audio.h"
#include "layer/wave_write.h"

int main() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "trevok-bench-sound";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    std::vector<int16_t> shot(22050 / 2);  // half a second
    for (size_t i = 0; i < shot.size(); ++i) shot[i] = static_cast<int16_t>((i * 37) % 2000 - 1000);
    layer::WriteWave16("shot.wav", shot, 1, 22050);
    layer::WriteWave16("music.wav", std::vector<int16_t>(44100 * 2, 300), 1, 44100);

    layer::SetManualAudioMixing(true);
    {
        CSoundManager sound(nullptr);
        int shotSlot = sound.LoadSegment("shot.wav");
        int musicSlot = sound.LoadSegment("music.wav");
        const int kFramesPerStep = 1024, kSteps = 2000;
        std::vector<int16_t> out(static_cast<size_t>(kFramesPerStep) * 2);

        auto start = std::chrono::steady_clock::now();
        for (int step = 0; step < kSteps; ++step) {
            if (step % 100 == 0) sound.PlaySegment(musicSlot, 0, 0);
            // A new shot every step (43 a second); each sounds for about 22 steps.
            sound.PlaySegment(shotSlot, 0, DMUS_SEGF_SECONDARY);
            layer::MixAudio(out.data(), kFramesPerStep);
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        double audioSeconds = double(kFramesPerStep) * kSteps / 44100.0;
        std::printf("mixed %.1f s of audio with about 22 shots and a primary sound in %.3f s: %.0fx real time\n",
                    audioSeconds, seconds, audioSeconds / seconds);
    }
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return 0;
}
