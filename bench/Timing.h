#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

// How the benchmarks time their work: wall time of each run, summarised as the median with the spread.
namespace bench {

struct Spread
{
    double median = 0, low = 0, high = 0;
};

inline Spread summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Seconds one run of the work takes.
template <typename F> double secondsOf(F&& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Seconds per run over several runs.
template <typename F> Spread measure(int runs, F&& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i)
        seconds.push_back(secondsOf(work));
    return summarise(std::move(seconds));
}

} // namespace bench
