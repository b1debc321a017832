// Timing for the benchmarks that print figures of their own: the thread's own
// processor time, which stays true however busy the shared machine is, and the
// spread of a set of times.
#pragma once

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace spades::bench {

inline double CpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// One line: how many, mean, median, p90, p99 and the slowest, in milliseconds.
inline void ReportTimes(const char* what, const char* unit, std::vector<double> times)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    const auto at = [&](double q) { return times[static_cast<size_t>(q * static_cast<double>(times.size() - 1))]; };
    double total = 0;
    for (double t : times)
        total += t;
    std::printf("%-6s %s %6zu  mean %6.2f ms  median %6.2f ms  p90 %6.2f ms  p99 %6.2f ms  max %7.2f ms\n", what, unit,
                times.size(), total / static_cast<double>(times.size()), at(0.5), at(0.9), at(0.99), times.back());
}

}  // namespace spades::bench
