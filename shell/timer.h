// timer.h -- the frame timer: frame time, frames per second and a stopwatch, in milliseconds.
#pragma once

#include "windows.h"

class CTimer {
public:
    CTimer();
    // Once per frame: the frame time, the stopwatch's time and, about once a second, the rate.
    void Update();
    // Restarts the stopwatch; fElapsed follows at the next Update.
    void ResetStopwatch();

    float fNow;             // time of the latest Update
    INT iFrames;            // frames counted since the last rate sample
    float fLastFPSTime;     // time of the last rate sample
    float fStopwatchStart;  // time of the last stopwatch restart
    float fFrameTime;       // milliseconds between the last two Updates: the time step of all motion
    float fFPS;             // frames per second as of the last sample
    float fElapsed;         // milliseconds since the stopwatch start, as of the latest Update
};

extern CTimer g_Timer;
