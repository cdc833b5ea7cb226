// bench_runs.h -- what the benchmarks print: the minimum and median of several timed runs, and
// ratios to a baseline measured in the same run, so that a busy machine shows in the spread of
// the times rather than in the ratio.
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of every thread of the process, the software renderer's included, in
// milliseconds: less moved by other programs on a busy machine than the time on the clock.
inline double ProcessorMilliseconds() {
    timespec t = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The results of one measured thing over several runs.
class Runs {
public:
    void Add(double value) { values_.push_back(value); }
    size_t Count() const { return values_.size(); }
    double Min() const { return values_.empty() ? 0.0 : *std::min_element(values_.begin(), values_.end()); }
    double Max() const { return values_.empty() ? 0.0 : *std::max_element(values_.begin(), values_.end()); }
    double Median() const {
        if (values_.empty()) return 0.0;
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2.0;
    }

private:
    std::vector<double> values_;
};

// "  <name>  min 1.234 ms  median 1.300 ms"
inline void PrintTimes(const char* name, const Runs& runs, const char* unit = "ms") {
    std::printf("  %-30s min %8.3f %s   median %8.3f %s\n", name, runs.Min(), unit, runs.Median(), unit);
}

// Each run's ratio of the measured thing to the baseline timed beside it, summed up: the median,
// and the least and greatest as the spread.
inline void PrintRatio(const char* name, const Runs& ratios) {
    std::printf("  %-30s median %6.2f   (runs from %.2f to %.2f, %zu runs)\n", name, ratios.Median(), ratios.Min(),
                ratios.Max(), ratios.Count());
}

}  // namespace bench
