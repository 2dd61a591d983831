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

// The same search prepared once for many runs of text: a search over a document with many
// blank lines calls it for every stretch between them, so choosing the probe bytes is done
// here and not per call.
class ByteFinder {
public:
    // As for findBytes, a folded pattern must already be upper-cased with upperAscii.
    ByteFinder(std::string_view pattern, bool foldCase);

    // The first occurrence in [begin, end), or nullptr.
    [[nodiscard]] const char* find(const char* begin, const char* end) const noexcept;

    // The two pattern bytes every candidate is checked on before the whole pattern, each
    // with a mask OR-ed into the text byte first (0x20 folds a letter's two cases).
    struct Probe {
        std::size_t offset1 = 0;
        std::size_t offset2 = 0;
        char value1 = 0;
        char value2 = 0;
        char mask1 = 0;
        char mask2 = 0;
    };

private:
    std::string pattern_;
    bool fold_;
    Probe probe_;
};

} // namespace tavrel
