// Timing a layout's background wrap slice by slice, in wall time and in this thread's
// processor time: on a machine shared with other work the wall clock also counts the time
// others had the processor, so the benchmarks report both.
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>

#include "editor/wrapped_layout.h"
#include "support/floor.h"

namespace tavrel::bench {

inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct SliceTimes {
    double total = 0; // seconds
    double totalCpu = 0;
    double longest = 0; // the longest slice
    double longestCpu = 0;
    int slices = 0;
};

// Formats everything pending in 25 ms slices, as the editor's timer does.
inline SliceTimes formatInSlices(WrappedLayout& layout) {
    SliceTimes t;
    const auto start = Clock::now();
    const double cpuStart = threadCpuSeconds();
    for (bool more = true; more; ++t.slices) {
        const auto slice = Clock::now();
        const double cpu = threadCpuSeconds();
        more = layout.formatSlice(std::chrono::milliseconds(25));
        t.longest = std::max(t.longest, secondsSince(slice));
        t.longestCpu = std::max(t.longestCpu, threadCpuSeconds() - cpu);
    }
    t.total = secondsSince(start);
    t.totalCpu = threadCpuSeconds() - cpuStart;
    return t;
}

} // namespace tavrel::bench
