// Letter-case folding for single-byte Windows-1252 text, as setting names and colour names
// are compared: A-Z and the accented capitals fold to their small letters.
#pragma once

#include <string_view>

namespace tavrel {

[[nodiscard]] constexpr unsigned char foldAnsiCase(unsigned char c) noexcept {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    switch (c) {
    case 0x8A: // S with caron
    case 0x8C: // OE ligature
    case 0x8E: // Z with caron
        return static_cast<unsigned char>(c + 0x10);
    case 0x9F: // Y with diaeresis
        return 0xFF;
    default:
        return c;
    }
}

[[nodiscard]] constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldAnsiCase(static_cast<unsigned char>(a[i])) !=
            foldAnsiCase(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace tavrel
