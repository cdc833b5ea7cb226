// intro_test_program.h -- a started program for the intro and the warning screen: settings, input,
// Direct3D with the overlay quads, world and fonts, and the sound object, in the generator's data
// directory, on the manual clock.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/intro.h"
#include "layer/clock.h"
#include "layer/device_control.h"
#include "layer/device_stats.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "shell/devices.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "shell/timer.h"

// The intro sprites live now.
inline int Live() {
    int n = 0;
    for (const SIntroSprite& s : g_IntroSprites) n += s.bActive;
    return n;
}

class StartedProgram : public ::testing::Test {
protected:
    void SetUp() override { Start(640, 480); }
    void Start(DWORD width, DWORD height) {
        std::filesystem::current_path(TREVOK_DATA_DIR);
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // whatever an earlier test left
        SetConfigDefaults();
        g_Config.dwWidth = width;
        g_Config.dwHeight = height;
        g_Config.bFullscreen = 0;
        layer::UseManualClock(50000);
        layer::ClearInjectedInput();
        layer::ResetDeviceControl();
        layer::ClearShownMessageBoxes();
        std::srand(1);
        g_iLastEdgePoint = -1;
        ASSERT_EQ(InitDirectInput(nullptr), S_OK);
        ASSERT_EQ(InitD3D(nullptr), S_OK);
        ASSERT_EQ(InitGeometry(), S_OK);
    }
    void TearDown() override {
        FreeIntro();
        Cleanup();
        std::filesystem::current_path(previousDir_);
        layer::UseRealClock();
        layer::ClearInjectedInput();
        layer::ResetDeviceControl();
    }

    // 0 ms is now, as the program restarts the stopwatch just before the first frame.
    void StartStopwatch() {
        g_Timer.ResetStopwatch();
        g_Timer.Update();
        startMs_ = timeGetTime();
    }
    void ClockAt(uint32_t ms) { layer::SetClock(startMs_ + ms); }

    // A black frame, shown, with only what `draw` draws on it.
    template <class Draw>
    static std::vector<uint32_t> Drawn(Draw draw) {
        g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        g_pd3dDevice->BeginScene();
        draw();
        g_pd3dDevice->EndScene();
        g_pd3dDevice->Present(nullptr, nullptr, nullptr, nullptr);
        return Pixels();
    }
    static std::vector<uint32_t> Pixels() {
        std::vector<uint32_t> pixels;
        UINT w = 0, h = 0;
        EXPECT_TRUE(layer::ReadBackBuffer(&pixels, &w, &h));
        for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
        return pixels;
    }
    static int BoxesNaming(const std::string& what) {
        int n = 0;
        for (const auto& box : layer::ShownMessageBoxes()) n += box.text.find(what) != std::string::npos;
        return n;
    }

    uint32_t startMs_ = 0;
    std::filesystem::path previousDir_ = std::filesystem::current_path();
};
