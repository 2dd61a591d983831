// Running out of memory on purpose: a test forks a child (a death test), lowers the child's
// address-space limit a little above what it already uses, and checks that the code under
// test fails cleanly and keeps its data. Sanitizer builds reserve terabytes of shadow memory,
// so such tests skip there.
#pragma once

#include <cstddef>
#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace tavrel::test {

[[nodiscard]] constexpr bool addressSpaceLimitUsable() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) ||                         \
    __has_feature(memory_sanitizer)
    return false;
#else
    return true;
#endif
#else
    return true;
#endif
}

// The process's mapped address space now, in bytes (the first field of /proc/self/statm).
[[nodiscard]] inline std::size_t addressSpaceInUse() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (file == nullptr) {
        return 0;
    }
    unsigned long pages = 0;
    const int read = std::fscanf(file, "%lu", &pages);
    std::fclose(file);
    return read == 1 ? pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

// Lets the process map at most `headroom` bytes more than it maps now (the soft limit, so
// that liftAddressSpaceLimit can take it back).
inline bool limitAddressSpace(std::size_t headroom) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = addressSpaceInUse() + headroom;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

// Memory is back: the soft limit returns to the hard one.
inline bool liftAddressSpaceLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0) {
        return false;
    }
    limit.rlim_cur = limit.rlim_max;
    return ::setrlimit(RLIMIT_AS, &limit) == 0;
}

} // namespace tavrel::test
