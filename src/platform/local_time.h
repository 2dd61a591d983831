// The local calendar time of a moment, safe to ask from any thread (the C library's
// localtime shares one buffer between all callers).
#pragma once

#include <ctime>

namespace tavrel::platform {

// All fields zero when the system cannot tell (a moment outside its calendar).
[[nodiscard]] std::tm localTime(std::time_t moment) noexcept;

} // namespace tavrel::platform
