// Halves to even, independent of the floating-point rounding mode in force.
#include "print/nearest.h"

#include <cmath>

namespace tavrel {

std::int64_t nearest(double x) noexcept {
    if (!std::isfinite(x)) {
        return 0;
    }
    double whole = std::floor(x);
    const double rest = x - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
        whole += 1.0;
    }
    // Lengths beyond this are nonsense from a broken driver; keep them representable.
    constexpr double kLimit = 4.0e18;
    if (whole > kLimit) {
        return static_cast<std::int64_t>(kLimit);
    }
    if (whole < -kLimit) {
        return -static_cast<std::int64_t>(kLimit);
    }
    return static_cast<std::int64_t>(whole);
}

} // namespace tavrel
