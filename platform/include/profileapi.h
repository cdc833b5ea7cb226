// profileapi.h -- the performance counter: nanosecond ticks of a monotonic clock.
// While the layer's manual clock drives timeGetTime, the counter follows it, tick for tick.
#pragma once

#include "wintypes.h"

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency);
