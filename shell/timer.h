// timer.h -- stands in for the frame timer until the shell's own arrives.
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
