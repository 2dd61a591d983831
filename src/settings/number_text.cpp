// Strict integer parsing for setting values; any stray character makes the text invalid so
// that the caller falls back to its default.
#include "settings/number_text.h"

namespace tavrel {

namespace {

[[nodiscard]] int hexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Splits off a leading sign; returns true for a minus.
bool takeSign(std::string_view& text) noexcept {
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        const bool negative = text.front() == '-';
        text.remove_prefix(1);
        return negative;
    }
    return false;
}

[[nodiscard]] std::optional<std::int32_t> parseUnsignedDecimal(std::string_view digits,
                                                               bool negative) noexcept {
    if (digits.empty()) {
        return std::nullopt;
    }
    // One beyond INT32_MAX is allowed for the negative side only.
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

std::optional<std::int32_t> parseDecimal(std::string_view text) noexcept {
    const bool negative = takeSign(text);
    return parseUnsignedDecimal(text, negative);
}

std::optional<std::int32_t> parseInteger(std::string_view text) noexcept {
    const bool negative = takeSign(text);
    if (text.empty() || text.front() != '$') {
        return parseUnsignedDecimal(text, negative);
    }
    text.remove_prefix(1);
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    auto bits = static_cast<std::uint32_t>(value);
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<std::int32_t>(bits);
}

} // namespace tavrel
