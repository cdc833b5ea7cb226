// timer.h -- the frame timer: frame time, frames per second and a stopwatch, in milliseconds.
#pragma once

#include "windows.h"

class CTimer {
public:
    CTimer();
    void Update();
    void ResetStopwatch();

    float fNow;
    INT iFrames;
    float fLastFPSTime;
    float fStopwatchStart;
    float fFrameTime;
    float fFPS;
    float fElapsed;
};

extern CTimer g_Timer;
