// soak.cpp -- hours of play in minutes: the program run from its entry (the settings dialog
// answered, the intro skipped) with scripted, randomised input before every frame of its own loop,
// on the manual clock at a varying step, as fast as the machine draws. An autopilot hunts the
// enemies with whatever weapon it holds, wanders, buys weapons and rounds, visits the menus, dies
// and starts new games; every two minutes it finds $6000, so that every weapon is bought and used
// (money earned by kills alone would buy little more than the pistol before the next new game). Every simulated minute it prints the resident memory, the live sprites of
// each set, the object manager's places in use (and objects kept aside for want of a place), the
// texture and sound slots in use, the voices sounding, the layer's logs, the device's programs and
// the frame time; at the end "Konec" closes the program.
//
// It fails (status 1) when something grows without bound. Every two simulated seconds each measure
// is sampled; after a warm-up of a tenth of the run, the greatest value of the last third of the
// run may not exceed the first third's by more than the measure's slack (memory: 16 MB or a tenth;
// the slots and the message boxes: nothing; objects aside, voices and programs: a few), nor any
// value its bound (the played-wave log: what it keeps; the sprite sets and the object manager's
// places are arrays, which only fill). Under AddressSanitizer the memory is printed but not judged
// (its quarantine fills by design); its leak check judges what is left at the end.
//
// Usage: bench_soak [--minutes N] [data directory]   (30 minutes and ./data by default)
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "dinput.h"
#include "game/enemy.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/particles.h"
#include "game/projectile.h"
#include "game/sound_object.h"
#include "layer/audio.h"
#include "layer/clock.h"
#include "layer/device_stats.h"
#include "layer/dialogs.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "layer/window_hooks.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/main_window.h"
#include "shell/resource.h"
#include "shell/settings.h"
#include "world/object_manager.h"
#include "world/texture_manager.h"
#include "world/world.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
const bool kMemoryJudged = false;
#else
const bool kMemoryJudged = true;
#endif

const int kResolutionItem = 2;  // 512x384
const uint32_t kSampleMs = 2000;

long ResidentKilobytes() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

int Live(const CSpriteSet* set) {
    int n = 0;
    if (set)
        for (const SSprite& sprite : set->sprites) n += sprite.bActive;
    return n;
}

// What is measured. A measure grows when the greatest value of the last third of the run exceeds
// the first third's by more than its slack, or when it ever exceeds its bound.
enum Measure { kMemory, kEnemies, kBlood, kFlames, kDust, kShots, kPlaces, kAside, kTextures, kSounds,
               kVoices, kWaveLog, kBoxes, kPrograms, kMeasures };
const double kNone = 1e300;
const double kSet = CSpriteSet::MAX_SPRITES, kPlacesHeld = CObjectManager::MAX_OBJECTS;
const double kLogBound = 2.0 * layer::kPlayedWavesKept;
const struct {
    const char* name;
    double slack, bound;
} kMeasure[kMeasures] = {
    {"memory (kB)", 16.0 * 1024.0, kNone},  // or a tenth, when that is more
    // The sets and the places are arrays: they only fill up, more in a long life in play than in
    // a short one, and cannot grow beyond them.
    {"enemies", kSet, kSet}, {"blood", kSet, kSet}, {"flames", kSet, kSet}, {"dust", kSet, kSet},
    {"projectiles", kSet, kSet}, {"object places", kPlacesHeld, kPlacesHeld},
    {"objects aside", 4.0, kNone},
    {"texture slots", 0.0, CTextureManager::MAX_TEXTURES}, {"sound slots", 0.0, 50.0},
    {"voices", 8.0, kNone},
    {"played-wave log", kLogBound, kLogBound},  // it fills up to what it keeps, and no further
    {"message boxes", 0.0, kNone},
    {"device programs", 4.0, kNone},
};

double Slack(int measure, double firstMax) {
    return measure == kMemory ? std::max(kMeasure[kMemory].slack, firstMax / 10.0) : kMeasure[measure].slack;
}

struct Sample {
    uint32_t at;  // simulated milliseconds
    double values[kMeasures];
};

Sample Take(uint32_t at) {
    Sample s = {at, {}};
    s.values[kMemory] = double(ResidentKilobytes());
    s.values[kEnemies] = Live(g_pEnemies);
    s.values[kBlood] = Live(g_pBlood);
    s.values[kFlames] = Live(g_pFlames);
    s.values[kDust] = Live(g_pDust);
    s.values[kShots] = Live(g_pProjectiles);
    if (g_pWorld && g_pWorld->pObjectManager) {
        for (const CManagedObject* member : g_pWorld->pObjectManager->members) s.values[kPlaces] += member != nullptr;
        s.values[kAside] = double(g_pWorld->pObjectManager->ObjectsAside());
    }
    if (g_pWorld && g_pWorld->pTextureManager)
        for (const IDirect3DTexture8* texture : g_pWorld->pTextureManager->textures) s.values[kTextures] += texture != nullptr;
    s.values[kSounds] = g_pSoundManager ? g_pSoundManager->SlotsInUse() : 0;
    s.values[kVoices] = double(layer::SoundingWaves().size());
    s.values[kWaveLog] = double(layer::PlayedWaves().size());
    s.values[kBoxes] = double(layer::ShownMessageBoxes().size());
    s.values[kPrograms] = layer::BuiltPrograms();
    return s;
}

// The player. Before every frame it decides what to press, hold and move, by the state on screen.
class Autopilot {
public:
    explicit Autopilot(uint32_t minutes) : endMs_(minutes * 60000u), rng_(20240611u) {}

    void BeforeFrame() {
        // Once per frame: a message taken from the queue brings another idle pass.
        const uint32_t presented = layer::PresentedFrames();
        if (frames_ > 0 && presented == presented_) return;
        presented_ = presented;
        const auto now = std::chrono::steady_clock::now();
        if (frames_++ == 0) {
            layer::InjectKey(DIK_ESCAPE, false);  // the intro is over
            start_ = now;
        } else {
            frameMs_.push_back(std::chrono::duration<double, std::milli>(now - last_).count());
        }
        last_ = now;

        if (simMs_ >= nextSample_) Record();
        if (simMs_ >= endMs_) {
            Leave();
        } else {
            Release();
            switch (g_iGameState) {
                case GS_PLAYING: Play(); break;
                case GS_MAINMENU: Menu(); break;
                case GS_SHOP: Shop(); break;
                case GS_DEATH: Dead(); break;
                default: Press(DIK_ESCAPE); break;
            }
        }
        const uint32_t step = Uniform(10, 45);  // a frame rate that varies from 22 to 100
        simMs_ += step;
        lastPos_ = g_Camera.vPos;
        lastStep_ = step;
        layer::AdvanceClock(step);
        MixSound(step);
    }

    // Judges every measure; prints what grew. True when nothing did.
    bool Judge() const {
        const uint32_t warmUp = std::max<uint32_t>(30000, endMs_ / 10);
        std::vector<const Sample*> kept;
        for (const Sample& s : samples_)
            if (s.at >= warmUp) kept.push_back(&s);
        if (kept.size() < 6) {
            std::printf("too few samples to judge (%zu)\n", kept.size());
            return false;
        }
        const size_t third = kept.size() / 3;
        bool flat = true;
        for (int m = 0; m < kMeasures; ++m) {
            if (m == kMemory && !kMemoryJudged) continue;
            double first = 0, lastMax = 0;
            for (size_t i = 0; i < third; ++i) first = std::max(first, kept[i]->values[m]);
            for (size_t i = kept.size() - third; i < kept.size(); ++i) lastMax = std::max(lastMax, kept[i]->values[m]);
            if (lastMax > first + Slack(m, first)) {
                std::printf("GROWS: %s from at most %.0f in the first third to %.0f in the last\n", kMeasure[m].name, first,
                            lastMax);
                flat = false;
            }
            double highest = 0;
            for (const Sample& sample : samples_) highest = std::max(highest, sample.values[m]);
            if (highest > kMeasure[m].bound) {
                std::printf("GROWS: %s reached %.0f, beyond its bound of %.0f\n", kMeasure[m].name, highest,
                            kMeasure[m].bound);
                flat = false;
            }
        }
        return flat;
    }

    void PrintTotals() const {
        const double wall = std::chrono::duration<double>(last_ - start_).count();
        std::printf("%u frames in %.1f s (%.1f simulated minutes, x%.1f real time); %d kills, %d deaths, %d new "
                    "games, %d weapons bought\n",
                    frames_, wall, simMs_ / 60000.0, simMs_ / 1000.0 / std::max(wall, 1e-3), kills_, deaths_, games_,
                    purchases_);
    }

private:
    uint32_t Uniform(uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(rng_); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p; }

    // Keys pressed for one frame are let go before the next; held keys stay.
    void Press(BYTE key) {
        layer::InjectKey(key, true);
        pressed_.push_back(key);
    }
    void Release() {
        for (BYTE key : pressed_) layer::InjectKey(key, false);
        pressed_.clear();
        if (clicking_) layer::InjectMouseButton(0, false);
        clicking_ = false;
    }
    // The menu cursor to (x, y) in one frame, the click in a later one: a press needs the button
    // up in the frame before.
    bool ClickAt(int x, int y) {
        if (g_ptCursor.x != x || g_ptCursor.y != y) {
            layer::InjectMouseMotion(x - g_ptCursor.x, y - g_ptCursor.y);
            return false;
        }
        if (g_MouseState.rgbButtons[0] & 0x80) return false;
        layer::InjectMouseButton(0, true);
        clicking_ = true;
        return true;
    }
    int W() const { return int(g_Config.dwWidth); }
    int H() const { return int(g_Config.dwHeight); }

    void LetGo() {
        for (BYTE key : {DIK_W, DIK_S, DIK_A, DIK_D, DIK_SPACE}) layer::InjectKey(key, false);
        layer::InjectMouseButton(0, false);
        layer::InjectMouseButton(1, false);
    }

    void Play() {
        CountEvents();
        // Every few minutes a windfall, so that every weapon gets bought and used in a long run.
        if (simMs_ >= nextWindfall_) {
            g_iMoney += 6000;
            nextWindfall_ = simMs_ + 120000;
        }
        if (simMs_ >= modeUntil_) {
            hunting_ = Chance(0.75);
            modeUntil_ = simMs_ + Uniform(2000, 12000);
            LetGo();
            if (Chance(0.3)) ChooseWeapon();
        }
        // Now and then a screen: the shop, the menu by P or Esc.
        if (Chance(0.0008)) return Press(DIK_B);
        if (Chance(0.0004)) return Press(Chance(0.5) ? DIK_P : DIK_ESCAPE);
        const int w = g_iCurrentWeapon;
        if (w != 0 && g_Inventory[w].iAmmo == 0) {
            if (g_iMoney >= g_Weapons[w].iPackPrice) return Press(DIK_N);
            return Press(DIK_1);  // back to the chainsaw
        }
        if (w == 4 && Chance(0.01)) {  // the scope, round its three steps
            layer::InjectMouseButton(1, true);
            pressedRight_ = true;
        } else if (pressedRight_) {
            layer::InjectMouseButton(1, false);
            pressedRight_ = false;
        }
        if (hunting_)
            Hunt();
        else
            Wander();
    }

    void ChooseWeapon() {
        std::vector<int> owned;
        for (int i = 0; i < WEAPON_COUNT; ++i)
            if (g_Inventory[i].bOwned && (i == 0 || g_Inventory[i].iAmmo > 0 || g_iMoney >= g_Weapons[i].iPackPrice))
                owned.push_back(i);
        Press(BYTE(DIK_1 + owned[Uniform(0, uint32_t(owned.size() - 1))]));
    }

    void Hunt() {
        int best = -1;
        float nearest = 1e9f;
        for (int i = 0; i < CSpriteSet::MAX_SPRITES; ++i) {
            const SSprite& e = g_pEnemies->sprites[i];
            if (!e.bActive) continue;
            // The chainsaw does not reach one still falling from the sky.
            if (g_iCurrentWeapon == 0 && e.vPos.z > g_Camera.vPos.z + 1.0f) continue;
            const float d = std::hypot(e.vPos.x - g_Camera.vPos.x, e.vPos.y - g_Camera.vPos.y);
            if (d < nearest) nearest = d, best = i;
        }
        if (best < 0) return Wander();
        const D3DXVECTOR3 to = g_pEnemies->sprites[best].vPos - g_Camera.vPos, look = g_Camera.vLook;
        float yaw = (std::atan2(to.y, to.x) - std::atan2(look.y, look.x)) * 57.29578f;
        while (yaw > 180.0f) yaw -= 360.0f;
        while (yaw < -180.0f) yaw += 360.0f;
        const float pitch =
            (std::atan2(to.z, std::hypot(to.x, to.y)) - std::atan2(look.z, std::hypot(look.x, look.y))) * 57.29578f;
        const float slow = g_fZoom / 4.0f;  // the scope slows the mouse's turn
        layer::InjectMouseMotion(LONG(yaw * 2.0f * slow) + LONG(Uniform(0, 6)) - 3, LONG(-pitch * 2.0f * slow));
        const float reach = g_iCurrentWeapon == 0 ? 0.8f : g_iCurrentWeapon == 5 ? 6.0f : 15.0f;
        const D3DXVECTOR3 here = g_Camera.vPos;
        const float speed = std::hypot(here.x - lastPos_.x, here.y - lastPos_.y) / (float(lastStep_) / 1000.0f);
        const float wanted = std::min(2.0f, nearest - reach * 0.6f);  // slowing down on the way in
        layer::InjectKey(DIK_W, speed < wanted);
        layer::InjectKey(DIK_S, speed > wanted + 0.3f);
        layer::InjectMouseButton(0, nearest < reach && std::fabs(yaw) < std::max(2.0f, 40.0f / nearest));
    }

    void Wander() {
        if (Chance(0.05)) {
            const BYTE keys[] = {DIK_W, DIK_S, DIK_A, DIK_D, DIK_UP, DIK_LEFT};
            const BYTE key = keys[Uniform(0, 5)];
            layer::InjectKey(key, !(g_Keys[key] & 0x80));
        }
        if (Chance(0.03)) layer::InjectKey(DIK_SPACE, Chance(0.5));
        layer::InjectMouseMotion(LONG(Uniform(0, 40)) - 20, LONG(Uniform(0, 10)) - 5);
    }

    // Mostly back to play, now and then a new game or the shop.
    void Menu() {
        LetGo();
        if (menuRow_ < 0) menuRow_ = Chance(0.8) ? 0 : Chance(0.5) ? 1 : 2;
        if (ClickAt(W() / 2 + 30, H() / 2 - 40 + 20 * menuRow_)) {
            games_ += menuRow_ == 1;
            menuRow_ = -1;
        }
    }

    // The cheapest weapon that can be bought, then "Zpet".
    void Shop() {
        LetGo();
        int row = 8;
        for (int i = 1; i < WEAPON_COUNT; ++i)
            if (!g_Inventory[i].bOwned && g_Weapons[i].iPrice <= g_iMoney && (row == 8 || g_Weapons[i].iPrice < g_Weapons[row].iPrice))
                row = i;
        const int top = H() / 2 - 50;
        if (ClickAt(170, top + 20 * row + 10)) purchases_ += row != 8;
    }

    // A while on the death screen, then a key: Space or Enter go on, Esc now and then to the menu.
    void Dead() {
        LetGo();
        if (deadSince_ == 0) {
            deadSince_ = simMs_;
            deadWait_ = Uniform(500, 3000);
            ++deaths_;
        }
        if (simMs_ - deadSince_ < deadWait_) return;
        deadSince_ = 0;
        games_ += g_iLives < 1;
        Press(Chance(0.1) ? DIK_ESCAPE : Chance(0.5) ? DIK_SPACE : DIK_RETURN);
    }

    // The sound goes on by the simulated time, not the machine's: as long as the frame.
    void MixSound(uint32_t ms) {
        const int rate = layer::AudioFrequency();
        if (rate == 0) return;
        mixedMs_ += ms;
        const long due = long(mixedMs_ * uint64_t(rate) / 1000) - mixedFrames_;
        if (due <= 0) return;
        mixBuffer_.resize(size_t(due) * 2);
        layer::MixAudio(mixBuffer_.data(), int(due));
        mixedFrames_ += due;
    }

    void CountEvents() {
        if (g_iKills > lastKills_) kills_ += g_iKills - lastKills_;
        lastKills_ = g_iKills;
    }

    // Back to the menu and "Konec".
    void Leave() {
        Release();
        LetGo();
        if (g_iGameState != GS_MAINMENU) return Press(DIK_ESCAPE);
        ClickAt(W() / 2 + 45, H() / 2 + 40);
    }

    void Record() {
        samples_.push_back(Take(simMs_));
        nextSample_ += kSampleMs;
        if (samples_.size() % (60000 / kSampleMs) != 0) return;
        // A minute's line: the memory at its end, the peaks of the rest over its samples, the frames.
        const size_t n = 60000 / kSampleMs;
        Sample peak = samples_.back();
        for (size_t i = samples_.size() - n; i < samples_.size(); ++i)
            for (int m = 1; m < kMeasures; ++m) peak.values[m] = std::max(peak.values[m], samples_[i].values[m]);
        double sum = 0, worst = 0;
        for (double ms : frameMs_) sum += ms, worst = std::max(worst, ms);
        const double mean = frameMs_.empty() ? 0 : sum / double(frameMs_.size());
        if (samples_.size() == n)
            std::printf("min  memory  state enemies blood flames dust shots  places aside  tex snd  voices waves boxes "
                        "progs   frame ms (mean/max)  frames  kills deaths\n");
        const double* v = peak.values;
        std::printf("%3zu %6.1fM %c %6.0f %5.0f %6.0f %4.0f %5.0f  %6.0f %5.0f  %3.0f %3.0f  %6.0f %5.0f %5.0f %5.0f  "
                    "%8.2f / %6.1f  %6zu  %5d %6d\n",
                    samples_.size() / n, v[kMemory] / 1024.0, "PM?SRD"[std::min(std::max(g_iGameState, 0), 5)], v[kEnemies], v[kBlood], v[kFlames], v[kDust], v[kShots],
                    v[kPlaces], v[kAside], v[kTextures], v[kSounds], v[kVoices], v[kWaveLog], v[kBoxes], v[kPrograms],
                    mean, worst, frameMs_.size(), kills_, deaths_);
        std::fflush(stdout);
        frameMs_.clear();
    }

    const uint32_t endMs_;
    std::mt19937 rng_;
    uint32_t frames_ = 0, presented_ = 0, simMs_ = 0, nextSample_ = kSampleMs, modeUntil_ = 0, deadSince_ = 0, deadWait_ = 0,
             nextWindfall_ = 60000;
    std::chrono::steady_clock::time_point start_, last_;
    std::vector<double> frameMs_;
    std::vector<Sample> samples_;
    std::vector<BYTE> pressed_;
    std::vector<int16_t> mixBuffer_;
    D3DXVECTOR3 lastPos_ = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    uint32_t lastStep_ = 20;
    uint64_t mixedMs_ = 0;
    long mixedFrames_ = 0;
    bool clicking_ = false, hunting_ = true, pressedRight_ = false;
    int menuRow_ = -1, lastKills_ = 0, kills_ = 0, deaths_ = 0, games_ = 0, purchases_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    uint32_t minutes = 30;
    std::string data = "data";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--minutes" && i + 1 < argc)
            minutes = uint32_t(std::max(1, std::atoi(argv[++i])));
        else
            data = arg;
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);

    // The game writes trevok.cfg into its working directory: a copy of the content is played.
    char scratch[] = "/tmp/trevok-soak-XXXXXX";
    if (!mkdtemp(scratch)) return 2;
    std::error_code error;
    std::filesystem::copy(data, scratch, std::filesystem::copy_options::recursive, error);
    if (error || chdir(scratch) != 0) {
        std::printf("cannot copy the data directory %s: %s\n", data.c_str(), error.message().c_str());
        return 2;
    }

    std::printf("soak: %u simulated minutes of play at 512x384\n", minutes);
    Autopilot pilot(minutes);
    layer::UseManualClock(10000);
    layer::SetManualAudioMixing(true);
    layer::SetDialogScript([](HWND hDlg) {
        layer::ChooseDialogComboItem(hDlg, IDC_RESOLUTION, kResolutionItem);
        if (IsDlgButtonChecked(hDlg, IDC_FULLSCREEN) == BST_CHECKED) layer::ClickDialogControl(hDlg, IDC_FULLSCREEN);
        layer::ClickDialogControl(hDlg, IDC_START);
    });
    layer::SetWindowCreatedHook([](HWND) { layer::InjectKey(DIK_ESCAPE, true); });
    layer::SetIdleHook([&pilot] { pilot.BeforeFrame(); });
    const int status = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
    layer::SetIdleHook(nullptr);
    layer::SetWindowCreatedHook(nullptr);
    layer::SetDialogScript(nullptr);

    pilot.PrintTotals();
    const bool flat = pilot.Judge();
    std::printf("%s; the program ended with status %d\n", flat ? "flat" : "NOT FLAT", status);
    chdir("/");
    std::filesystem::remove_all(scratch, error);
    return flat && status == 0 ? 0 : 1;
}
