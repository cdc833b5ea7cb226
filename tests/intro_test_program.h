// intro_test_program.h -- a started program for the intro and the warning screen: the settings,
// the input devices, Direct3D with its overlay quads, world and fonts, and the sound object, in the
// generator's data directory, on the manual clock.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
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

class StartedProgram : public ::testing::Test {
protected:
    static constexpr uint32_t kClockStart = 50000;

    void SetUp() override { Start(640, 480, 2); }

    void Start(DWORD width, DWORD height, DWORD filter) {
        ASSERT_NE(getcwd(previousDir_, sizeof previousDir_), nullptr);
        ASSERT_EQ(chdir(TREVOK_DATA_DIR), 0) << TREVOK_DATA_DIR;
        setenv("SDL_AUDIODRIVER", "dummy", 1);  // whatever an earlier test left
        SetConfigDefaults();
        g_Config.dwWidth = width;
        g_Config.dwHeight = height;
        g_Config.bFullscreen = 0;
        g_Config.dwFilter = filter;
        g_Config.dwMipFilter = filter;
        layer::UseManualClock(kClockStart);
        layer::ClearInjectedInput();
        layer::ResetDeviceControl();
        layer::ClearShownMessageBoxes();
        std::memset(g_Keys, 0, sizeof g_Keys);
        std::srand(1);
        g_iLastEdgePoint = -1;
        ASSERT_EQ(InitDirectInput(nullptr), S_OK);
        ASSERT_EQ(InitD3D(nullptr), S_OK);
        ASSERT_EQ(InitGeometry(), S_OK);
        started_ = true;
    }

    void TearDown() override {
        if (started_) {
            FreeIntro();
            Cleanup();
        }
        if (previousDir_[0] && chdir(previousDir_) != 0) ADD_FAILURE() << "could not go back to " << previousDir_;
        layer::UseRealClock();
        layer::ClearInjectedInput();
        layer::ResetDeviceControl();
        layer::KeepPresentedPictures(false);
    }

    // Restarts the stopwatch where the program does, just before the first frame: 0 ms is now.
    void StartStopwatch() {
        g_Timer.ResetStopwatch();
        g_Timer.Update();
        startMs_ = timeGetTime();
    }
    // Sets the clock to ms after the stopwatch's start.
    void ClockAt(uint32_t ms) { layer::SetClock(startMs_ + ms); }
    // A frame whose time step is 1 ms although the intro's clock jumped to ms: the timer was last
    // read 1 ms earlier, after a stall.
    void StallUntil(uint32_t ms) {
        ClockAt(ms - 1);
        g_Timer.Update();
        ClockAt(ms);
    }

    static std::vector<uint32_t> Pixels() {
        std::vector<uint32_t> pixels;
        UINT w = 0, h = 0;
        EXPECT_TRUE(layer::ReadBackBuffer(&pixels, &w, &h));
        for (uint32_t& p : pixels) p &= 0x00FFFFFFu;
        return pixels;
    }
    static uint32_t Pixel(UINT x, UINT y) { return layer::BackBufferPixel(x, y) & 0x00FFFFFFu; }

    static int BoxesNaming(const std::string& what) {
        int n = 0;
        for (const auto& box : layer::ShownMessageBoxes()) n += box.text.find(what) != std::string::npos;
        return n;
    }

    uint32_t startMs_ = kClockStart;
    char previousDir_[4096] = {};
    bool started_ = false;
};
