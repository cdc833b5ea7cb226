// game_fixture.h -- the whole game on a headless device for the game's tests: the generated content
// copied to a scratch directory, the shell's devices and geometry, LoadGameData, the manual clock,
// a seeded generator, injected keys and mouse, and the layer's counters. Tests drive RenderFrame.
#pragma once

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "game/enemy.h"
#include "game/frame.h"
#include "game/game_database.h"
#include "game/game_loading.h"
#include "game/particles.h"
#include "game/projectile.h"
#include "layer/audio.h"
#include "layer/clock.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "shell/camera.h"
#include "shell/devices.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "world/terrain.h"
#include "world/world.h"

namespace game_test {

// The weapon table as the program starts with it (constant data, set before any test runs).
inline const std::vector<SWeapon>& WeaponsAtStart() {
    static const std::vector<SWeapon> table(g_Weapons, g_Weapons + WEAPON_COUNT);
    return table;
}
[[maybe_unused]] static const bool kWeaponsCopied = !WeaponsAtStart().empty();

// Every global of the game back to its value at program start.
inline void ResetGameGlobals() {
    std::memset(&g_GameDB, 0, sizeof g_GameDB);
    for (int i = 0; i < WEAPON_COUNT; ++i) g_Weapons[i] = WeaponsAtStart()[size_t(i)];
    std::memset(g_Inventory, 0, sizeof g_Inventory);
    g_iGameState = GS_MAINMENU;
    g_iScore = g_iMoney = g_iKills = g_iLives = g_iHealth = g_iCurrentWeapon = 0;
    g_fZoom = 4.0f;
    g_fShake = g_fGameTime = g_fSpawnTimer = 0.0f;
    g_iMuzzleFlash = 0;
    g_ptCursor = CCellCoord(0, 0);
    g_fForward = g_fStrafe = g_fYaw = g_fPitch = 0.0f;
    g_szTargetText[0] = g_szNumber[0] = '\0';
    g_Timer = CTimer();
    g_Camera = CCamera(&g_Timer);
    std::memset(g_Keys, 0, sizeof g_Keys);
    std::memset(g_PrevKeys, 0, sizeof g_PrevKeys);
    std::memset(&g_MouseState, 0, sizeof g_MouseState);
    std::memset(&g_PrevMouseState, 0, sizeof g_PrevMouseState);
}

class GameTest : public ::testing::Test {
protected:
    static constexpr UINT kWidth = 320, kHeight = 240;
    // The screen size of the game; a fixture of its own may ask for another.
    explicit GameTest(UINT width = kWidth, UINT height = kHeight) : width_(width), height_(height) {}

    void SetUp() override {
        std::filesystem::copy(TREVOK_DATA_DIR, dir_.path(), std::filesystem::copy_options::recursive);
        layer::UseManualClock(10000);
        ResetGameGlobals();
        srand(1);
        layer::ClearInjectedInput();
        layer::SetManualAudioMixing(true);
        layer::ClearPlayedWaves();
        layer::ClearShownMessageBoxes();
        ForgetReportedErrors();
        SetConfigDefaults();
        g_Config.dwWidth = width_;
        g_Config.dwHeight = height_;
        g_Config.bFullscreen = 0;
        g_Config.bFog = 0;
        ASSERT_EQ(InitDirectInput(nullptr), S_OK);
        ASSERT_EQ(InitD3D(nullptr), S_OK);
        BeforeGeometry();
        InitGeometry();
        ASSERT_EQ(LoadGameData(), 0);
        g_Timer.Update();  // the first frame's time step is what the test advances
    }

    void TearDown() override {
        FreeGameData();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // nothing queued
        Cleanup();
        layer::ClearInjectedInput();
        layer::SetManualAudioMixing(false);
        layer::ResetDeviceControl();
        layer::UseRealClock();
        ResetGameGlobals();
    }

    // Runs between the device's creation and InitGeometry: the layer's failures.
    virtual void BeforeGeometry() {}

    // One frame after `ms` milliseconds.
    void Frame(uint32_t ms = 20) {
        layer::AdvanceClock(ms);
        RenderFrame();
    }
    void Frames(int n, uint32_t ms = 20) {
        for (int k = 0; k < n; ++k) Frame(ms);
    }
    // A key pressed in one frame and released in the next.
    void Tap(BYTE key) {
        layer::InjectKey(key, true);
        Frame();
        layer::InjectKey(key, false);
        Frame();
    }
    // From the main menu into play.
    void StartPlaying() {
        Tap(DIK_P);
        ASSERT_EQ(g_iGameState, GS_PLAYING);
    }

    // An active enemy of the type at the point, with full health.
    int PlaceEnemy(const D3DXVECTOR3& at, int type = 0) {
        const int slot = g_pEnemies->AddRandomSprite();
        EXPECT_NE(slot, -1);
        if (slot == -1) return -1;
        SSprite& enemy = g_pEnemies->sprites[slot];
        enemy.vPos = at;
        enemy.iType = type;
        enemy.fHealth = 100.0f;
        std::memcpy(enemy.szName, g_GameDB.types[type].szName, sizeof enemy.szName);
        return slot;
    }
    // The point `distance` along the look axis from the eye.
    D3DXVECTOR3 Ahead(float distance) const {
        D3DXVECTOR3 look;
        D3DXVec3Normalize(&look, &g_Camera.vLook);
        return g_Camera.vPos + look * distance;
    }

    static int Active(const CSpriteSet* set) {
        int n = 0;
        for (const SSprite& sprite : set->sprites) n += sprite.bActive;
        return n;
    }
    // How often the wave was played with the flags since the last clear.
    static int Played(const char* file, uint32_t flags) {
        int n = 0;
        for (const layer::PlayedWave& wave : layer::PlayedWaves()) n += wave.file == file && wave.flags == flags;
        return n;
    }
    static int BoxesSaying(const char* text) {
        int n = 0;
        for (const layer::ShownMessageBox& box : layer::ShownMessageBoxes())
            n += box.text.find(text) != std::string::npos;
        return n;
    }
    static DWORD RenderState(D3DRENDERSTATETYPE state) {
        DWORD value = 0xDEADBEEF;
        g_pd3dDevice->GetRenderState(state, &value);
        return value;
    }
    static uint32_t DrawCalls() { return layer::LastFrameStats().drawCalls; }
    static const CMap& Map() { return *g_pWorld->pMap; }

    const UINT width_, height_;
    ScratchDir dir_;
};

}  // namespace game_test
