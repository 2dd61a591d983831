// ASCII letter case: a-z and A-Z only, every other byte unchanged. The editor's search and
// the language file names fold this way; Windows-1252 letter case is byte_case.h's table.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

[[nodiscard]] constexpr char upperAscii(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

[[nodiscard]] constexpr char lowerAscii(char c) noexcept {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

[[nodiscard]] inline std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = upperAscii(c);
    }
    return out;
}

} // namespace tavrel
