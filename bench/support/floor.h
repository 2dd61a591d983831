// What the benchmarks share: a clock in seconds and the physical floor of a scan over a
// text, a bare memchr loop that counts its line feeds.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace tavrel::bench {

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Nothing that looks at every byte of a text can be faster than this.
inline std::size_t countLineFeeds(std::string_view text) {
    std::size_t feeds = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (
        (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))))) {
        ++feeds;
        ++p;
    }
    return feeds;
}

} // namespace tavrel::bench
