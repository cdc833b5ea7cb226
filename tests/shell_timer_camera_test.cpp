// shell_timer_camera_test.cpp -- the frame timer on a driven clock and the camera's turns and motion.
#include <gtest/gtest.h>

#include "fresh_process.h"
#include "layer/clock.h"
#include "shell/camera.h"
#include "shell/timer.h"

using namespace layer;

namespace {

void ExpectVec(const D3DXVECTOR3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-5f);
    EXPECT_NEAR(v.y, y, 1e-5f);
    EXPECT_NEAR(v.z, z, 1e-5f);
}

}  // namespace

TEST(FrameTimer, ConstructionAndFrameTime) {
    UseManualClock(20000);
    CTimer t;
    EXPECT_EQ(t.fNow, 20000.0f);
    EXPECT_EQ(t.fStopwatchStart, 20000.0f);
    for (float zero : {float(t.iFrames), t.fLastFPSTime, t.fFrameTime, t.fFPS, t.fElapsed})
        EXPECT_EQ(zero, 0.0f);
    AdvanceClock(40);
    t.Update();  // the first update samples the rate at once: fLastFPSTime was 0
    EXPECT_EQ(t.fFrameTime, 40.0f);
    EXPECT_NEAR(t.fFPS, 1000.0f / 20040.0f, 1e-6f);
    EXPECT_EQ(t.fLastFPSTime, 20040.0f);
    AdvanceClock(16);
    t.Update();
    EXPECT_EQ(t.fFrameTime, 16.0f);
    EXPECT_EQ(t.fNow, 20056.0f);
}

TEST(FrameTimer, RateIsSampledOnceASecondOverTheFramesCounted) {
    for (DWORD gap : {1056u, 1000u}) {  // since the sample: 1000 ms or more takes the next one
        UseManualClock(5000);
        CTimer t;
        t.Update();  // sample at 5000
        ASSERT_EQ(t.fLastFPSTime, 5000.0f);
        for (int i = 0; i < 59; ++i) {
            AdvanceClock(16);
            t.Update();
        }
        EXPECT_EQ(t.iFrames, 59);
        EXPECT_NEAR(t.fFPS, 0.2f, 1e-6f);  // unchanged since the first sample
        SetClock(5999);  // a millisecond short: still counting
        t.Update();
        EXPECT_EQ(t.iFrames, 60);
        SetClock(5000 + gap);
        t.Update();
        EXPECT_NEAR(t.fFPS, 1000.0f / float(gap) * 61.0f, 1e-3f) << gap;
        EXPECT_EQ(t.iFrames, 0);
        EXPECT_EQ(t.fLastFPSTime, float(5000 + gap));
    }
}

TEST(FrameTimer, StopwatchElapsedFollowsAtTheNextUpdate) {
    UseManualClock(1000);
    CTimer t;
    AdvanceClock(300);
    t.ResetStopwatch();
    EXPECT_EQ(t.fStopwatchStart, 1300.0f);
    AdvanceClock(500);
    EXPECT_EQ(t.fElapsed, 0.0f);
    t.Update();
    EXPECT_EQ(t.fElapsed, 500.0f);
    t.ResetStopwatch();
    EXPECT_EQ(t.fElapsed, 500.0f);  // only Update changes it
}

TEST(Camera, GlobalsAreMadeInOrderAndStartAtTheirPlace) {
    ExpectInFreshProcess([] {
        EXPECT_EQ(g_Camera.pTimer, &g_Timer);
        ExpectVec(g_Camera.vPos, 50, 50, 5);
        ExpectVec(g_Camera.vLook, 0, 0, 1);
        ExpectVec(g_Camera.vUp, 0, 1, 0);
        ExpectVec(g_Camera.vRight, 1, 0, 0);
        EXPECT_EQ(g_Camera.fSpeedForward, 0.0f);
    });
}

TEST(Camera, TurnsRollThenYawAboutWorldZThenPitchAndRepeatEachUpdate) {
    CTimer timer;
    CCamera cam(&timer);
    cam.fYaw = 90;
    cam.Update();
    ExpectVec(cam.vLook, 0, 0, 1);  // it lies on the yaw axis
    ExpectVec(cam.vRight, 0, 1, 0);
    cam.fYaw = 45;
    cam.Update();
    cam.Update();  // angles left standing apply again
    ExpectVec(cam.vRight, -1, 0, 0);
    // Roll about look (z) takes up to -x and right to +y; pitch then turns about that new right axis.
    CCamera rolled(&timer);
    rolled.fRoll = 90;
    rolled.fPitch = 90;
    rolled.Update();
    ExpectVec(rolled.vRight, 0, 1, 0);
    ExpectVec(rolled.vUp, 0, 0, 1);
    ExpectVec(rolled.vLook, 1, 0, 0);
}

TEST(Camera, SpeedsMoveByFrameTimeInSeconds) {
    CTimer timer;
    CCamera cam(&timer);
    timer.fFrameTime = 100.0f;
    cam.fSpeedForward = 10.0f;
    cam.Update();
    ExpectVec(cam.vPos, 50, 50, 6);  // one unit along vLook
    cam.fSpeedForward = 0.0f;
    cam.fSpeedRight = 20.0f;
    cam.fSpeedUp = -30.0f;
    cam.Update();
    ExpectVec(cam.vPos, 52, 47, 6);
}
