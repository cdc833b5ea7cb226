// layer/clock.h -- drives timeGetTime from tests and benchmarks.
#pragma once

#include <cstdint>

namespace layer {

// From now on timeGetTime answers only what SetClock/AdvanceClock say (starting at ms).
void UseManualClock(uint32_t ms);
// Back to the real clock, continuing from the manual time so that time never runs backwards.
void UseRealClock();
void SetClock(uint32_t ms);
void AdvanceClock(uint32_t ms);
bool IsClockManual();

}  // namespace layer
