// The hook through which highlighters (addresses, keywords) tell the painter how parts of
// a paragraph look. The painter asks once per painted paragraph; no highlighter is
// attached until the program attaches one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/types.h"

namespace tavrel {

// A colour as the program stores colours: 0x00BBGGRR. kNoColor (and -1) means "none":
// the editor's own text colour, or no background behind the characters.
using ColorRef = std::uint32_t;
inline constexpr ColorRef kNoColor = 0x1FFFFFFF;
inline constexpr ColorRef kDefaultColor = 0xFFFFFFFF;

[[nodiscard]] constexpr bool isPlainColor(ColorRef c) noexcept {
    return (c & 0xFF000000u) == 0;
}

enum HighlightStyle : std::uint8_t {
    hsBold = 1,
    hsItalic = 2,
    hsUnderline = 4,
    hsSpecialUnderline = 8, // the zigzag line
};

struct HighlightRun {
    Pos start = 0; // offset in the paragraph
    Pos length = 0;
    ColorRef color = kNoColor;
    ColorRef background = kNoColor;
    std::uint8_t style = 0;
};

class HighlightSource {
public:
    HighlightSource() = default;
    HighlightSource(const HighlightSource&) = delete;
    HighlightSource& operator=(const HighlightSource&) = delete;
    virtual ~HighlightSource() = default;

    // Appends the runs of a paragraph, in order and not overlapping, to `out`.
    virtual void runsOf(Pos paragraph, std::string_view text, std::vector<HighlightRun>& out) = 0;
};

} // namespace tavrel
