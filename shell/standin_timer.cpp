// standin_timer.cpp -- stands in for the frame timer until the timer module exists.
#include "shell/timer.h"

CTimer g_Timer;

CTimer::CTimer()
    : fNow(0), iFrames(0), fLastFPSTime(0), fStopwatchStart(0), fFrameTime(0), fFPS(0), fElapsed(0) {}

void CTimer::Update() {}

void CTimer::ResetStopwatch() { fStopwatchStart = static_cast<float>(timeGetTime()); }
