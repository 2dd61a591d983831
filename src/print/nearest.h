// Rounding as the print layout does it: to the nearest integer with halves going to the
// even neighbour, so that a page at 300 and at 600 dpi rounds the same way each time.
#pragma once

#include <cstdint>

namespace tavrel {

[[nodiscard]] std::int64_t nearest(double x) noexcept;

} // namespace tavrel
