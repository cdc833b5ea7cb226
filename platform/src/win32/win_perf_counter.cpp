// win_perf_counter.cpp -- QueryPerformanceCounter/Frequency over the monotonic clock, in
// nanoseconds; under the manual clock of tests, the counter is timeGetTime in nanoseconds.
#include <chrono>

#include "layer/clock.h"
#include "layer/perf_counter.h"
#include "mmsystem.h"
#include "profileapi.h"

namespace {

constexpr LONGLONG kTicksPerSecond = 1000000000;
bool g_counterPresent = true;

LONGLONG MonotonicNanoseconds() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

}  // namespace

BOOL QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency) {
    if (!lpFrequency || !g_counterPresent) return FALSE;
    lpFrequency->QuadPart = kTicksPerSecond;
    return TRUE;
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount) {
    if (!lpPerformanceCount || !g_counterPresent) return FALSE;
    if (layer::IsClockManual())
        lpPerformanceCount->QuadPart = static_cast<LONGLONG>(timeGetTime()) * (kTicksPerSecond / 1000);
    else
        lpPerformanceCount->QuadPart = MonotonicNanoseconds();
    return TRUE;
}

namespace layer {

void SetPerformanceCounterPresent(bool present) { g_counterPresent = present; }

}  // namespace layer
