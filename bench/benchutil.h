#pragma once

// Small timing helpers shared by the benchmarks: run a piece of work several times (after one
// untimed warm-up run) and print
// its minimum, median and maximum in milliseconds beside the target it should meet.
#include <algorithm>
#include <cstdio>
#include <vector>

#include <QElapsedTimer>

namespace bench {

template <typename Work> std::vector<double> run(int repetitions, Work&& work)
{
    std::vector<double> milliseconds;
    milliseconds.reserve(repetitions);
    work(); // warm-up: first-touch allocations and caches are not what is measured
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        milliseconds.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    return milliseconds;
}

// Prints one line; a target of 0 means none is set.
inline void report(const char* what, const std::vector<double>& ms, double targetMs)
{
    const double median = ms[ms.size() / 2];
    std::printf("%-40s min %9.3f ms  median %9.3f ms  max %9.3f ms", what, ms.front(), median,
                ms.back());
    if (targetMs > 0)
        std::printf("  (target < %g ms: %s)", targetMs, median < targetMs ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

} // namespace bench
