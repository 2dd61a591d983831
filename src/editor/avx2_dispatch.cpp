// The run-time choice between the AVX2 and SSE2 ways of the highlighting scans.
#include "editor/avx2_dispatch.h"

#include <atomic>

namespace tavrel {

namespace {
std::atomic<bool> allowed{true};
} // namespace

bool useAvx2() noexcept {
#if defined(__GNUC__) && defined(__x86_64__)
    static const bool have = [] {
        __builtin_cpu_init(); // may run before the library's own start-up code
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return have && allowed.load(std::memory_order_relaxed);
#else
    return false;
#endif
}

void allowAvx2(bool on) noexcept {
    allowed.store(on, std::memory_order_relaxed);
}

} // namespace tavrel
