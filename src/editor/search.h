// Finding bytes in a run of text, with or without ASCII case folding. The engine's text
// search, find and replace, and keyword matching build on it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel {

// a-z onto A-Z only, the editor's default case mapping.
[[nodiscard]] constexpr char upperAscii(char c) noexcept {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
[[nodiscard]] std::string upperAscii(std::string_view text);

// The first occurrence of pattern in [begin, end), or nullptr. With foldCase the pattern
// must already be upper-cased with upperAscii and the text is compared folded the same way.
[[nodiscard]] const char* findBytes(const char* begin, const char* end, std::string_view pattern,
                                    bool foldCase) noexcept;

} // namespace tavrel
