#pragma once

#include <benchmark/benchmark.h>

#include <functional>

namespace bench
{
/** Runs one input at its base size and at four times that size in every iteration, and reports both times and
    their ratio: work that grows linearly with its input keeps the ratio near 4, work that grows with the square
    of it near 16.
*/
inline void measureScaling (benchmark::State& state, const std::function<double (int scale)>& secondsFor)
{
    double base = 0.0, fourTimes = 0.0;

    for (auto _ : state)
    {
        const auto baseSeconds = secondsFor (1);
        const auto fourTimesSeconds = secondsFor (4);
        base += baseSeconds;
        fourTimes += fourTimesSeconds;
        state.SetIterationTime (baseSeconds + fourTimesSeconds);
    }

    const auto iterations = (double) state.iterations();
    state.counters["1x_ms"] = 1000.0 * base / iterations;
    state.counters["4x_ms"] = 1000.0 * fourTimes / iterations;
    state.counters["ratio"] = fourTimes / base;
}
} // namespace bench
