// mm_clock.cpp -- timeGetTime counted from the program's start, and the manual clock for tests.
#include <chrono>

#include "layer/clock.h"
#include "mmsystem.h"

namespace {

using Clock = std::chrono::steady_clock;

// Function-local statics so that the clock works for constructors of globals, before main.
Clock::time_point& StartPoint() {
    static Clock::time_point start = Clock::now();
    return start;
}

struct ManualState {
    bool manual = false;
    uint32_t now = 0;
};

ManualState& Manual() {
    static ManualState state;
    return state;
}

uint32_t RealMilliseconds() {
    auto elapsed = Clock::now() - StartPoint();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// Initialise the start point as early as the static initialisers of this file run.
const bool g_clockStarted = (StartPoint(), true);

}  // namespace

DWORD timeGetTime(void) {
    ManualState& m = Manual();
    return m.manual ? m.now : RealMilliseconds();
}

namespace layer {

void UseManualClock(uint32_t ms) {
    Manual().manual = true;
    Manual().now = ms;
}

void UseRealClock() {
    ManualState& m = Manual();
    if (!m.manual) return;
    // Shift the start point so the real clock continues from the manual time.
    StartPoint() = Clock::now() - std::chrono::milliseconds(m.now);
    m.manual = false;
}

void SetClock(uint32_t ms) { Manual().now = ms; }

void AdvanceClock(uint32_t ms) { Manual().now += ms; }

bool IsClockManual() { return Manual().manual; }

}  // namespace layer
