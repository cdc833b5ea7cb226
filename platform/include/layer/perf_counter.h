// layer/perf_counter.h -- takes the high-resolution counter away, as on a machine without one.
#pragma once

namespace layer {

// When false, QueryPerformanceFrequency and QueryPerformanceCounter fail (return FALSE).
void SetPerformanceCounterPresent(bool present);

}  // namespace layer
