// Finding bytes in a run of text, with or without ASCII case folding. The engine's text
// search, find and replace, and keyword matching build on it.
#pragma once

#include "text/ascii_case.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tavrel {

// The first occurrence of pattern in [begin, end), or nullptr. With foldCase the pattern
// must already be upper-cased with upperAscii and the text is compared folded the same way.
[[nodiscard]] const char* findBytes(const char* begin, const char* end, std::string_view pattern,
                                    bool foldCase) noexcept;

} // namespace tavrel
