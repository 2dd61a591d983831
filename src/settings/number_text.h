// Integer texts as the settings store reads them: an optional sign, then either decimal
// digits or "$" and hexadecimal digits. Nothing else is allowed, not even spaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrel {

// Decimal within the 32-bit range, or "$" with a hexadecimal value up to $FFFFFFFF, whose bit
// pattern is taken as it is ($80000005 is a negative integer, the way colours are stored).
[[nodiscard]] std::optional<std::int32_t> parseInteger(std::string_view text) noexcept;

// Decimal only, within the 32-bit range.
[[nodiscard]] std::optional<std::int32_t> parseDecimal(std::string_view text) noexcept;

} // namespace tavrel
