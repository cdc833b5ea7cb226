// timer.cpp -- the frame timer over the multimedia timer.
#include "shell/timer.h"

namespace {

// One reading of the multimedia timer, widened without sign and taken as a float.
float ReadClock() { return (float)(ULONGLONG)timeGetTime(); }

}  // namespace

CTimer::CTimer() {
    fNow = ReadClock();
    fStopwatchStart = ReadClock();
    iFrames = 0;
    fLastFPSTime = 0.0f;
    fFrameTime = 0.0f;
    fFPS = 0.0f;
    fElapsed = 0.0f;
}

void CTimer::Update() {
    fFrameTime = ReadClock() - fNow;
    fNow = ReadClock();
    fElapsed = ReadClock() - fStopwatchStart;
    const float sinceSample = fNow - fLastFPSTime;
    if (sinceSample < 1000.0f) {
        iFrames += 1;
    } else {
        fFPS = 1000.0f / sinceSample * (float)(iFrames + 1);
        fLastFPSTime = fNow;
        iFrames = 0;
    }
}

void CTimer::ResetStopwatch() { fStopwatchStart = ReadClock(); }
