// standin_timer.cpp -- stands in for the shell's frame timer until it arrives.
#include "shell/timer.h"

#include "mmsystem.h"

CTimer g_Timer;

CTimer::CTimer()
    : fNow(float(timeGetTime())), iFrames(0), fLastFPSTime(0), fStopwatchStart(float(timeGetTime())),
      fFrameTime(0), fFPS(0), fElapsed(0) {}

void CTimer::Update() {
    fFrameTime = float(timeGetTime()) - fNow;
    fNow = float(timeGetTime());
    fElapsed = float(timeGetTime()) - fStopwatchStart;
}

void CTimer::ResetStopwatch() { fStopwatchStart = float(timeGetTime()); }
