#pragma once
// Measures a benchmark's baseline in the same run and reports the ratio of
// the two as counters, so that a figure never depends on another run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench {

// The median of Values (which it reorders).
inline double Median(std::vector<double>& values) {
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Median wall time of Runs calls of F, in microseconds.
template <class F>
double MedianMicros(int runs, F f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
    return times[static_cast<size_t>(runs / 2)];
}

// Times the benchmark loop itself, to set beside the baseline.
class TLoopClock {
public:
    TLoopClock() : FStart(std::chrono::steady_clock::now()) {}
    // Reports baseline_us and the ratio of the baseline to one iteration
    // (how many times faster) or of one iteration to the baseline.
    void Report(benchmark::State& state, double baselineMicros, bool faster) const {
        const double each = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - FStart).count() /
                            static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
        state.counters["baseline_us"] = baselineMicros;
        if (faster)
            state.counters["speedup"] = baselineMicros / each;
        else
            state.counters["ratio"] = each / baselineMicros;
    }

private:
    std::chrono::steady_clock::time_point FStart;
};

} // namespace bench
