// The process's resident memory as Linux reports it in /proc/self/status: now, and its peak
// since the last reset, for the benchmarks that print what a load costs in memory.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>

namespace tavrel::bench {

// A field of /proc/self/status in kB ("VmRSS:", "VmHWM:"); -1 when it is not there.
inline long statusFieldKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string name(field);
    while (std::getline(status, line)) {
        if (line.rfind(name, 0) == 0) {
            return std::strtol(line.c_str() + name.size(), nullptr, 10);
        }
    }
    return -1;
}

inline long currentRssKb() {
    return statusFieldKb("VmRSS:");
}

// Resident memory high-water mark, reset by writing 5 to clear_refs.
inline long peakRssKb() {
    return statusFieldKb("VmHWM:");
}

inline bool resetPeakRss() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

} // namespace tavrel::bench
