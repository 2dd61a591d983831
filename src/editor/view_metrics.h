// The figures a text view derives from its font and its size: line height, baseline and
// the scroll bar ranges. Kept apart from the widget so the rules can be checked without one.
#pragma once

#include <cstdint>

#include "editor/glyph_metrics.h"
#include "editor/types.h"

namespace tavrel {

// The line height in effect: `setting` when above 0 (cut to 65535), else the font's cell
// height plus one pixel; lowered for documents of more than 65535 display lines so that
// the total height stays within 32 bits, as scroll arithmetic elsewhere expects.
[[nodiscard]] std::int32_t effectiveLineHeight(std::int32_t setting, const GlyphMetrics& font,
                                               Pos displayLines) noexcept;

// Offset of the baseline from the top of a line of the given height. With the automatic
// height this is the font's ascent; taller lines share the extra room above and below.
[[nodiscard]] std::int32_t baselineOffset(std::int32_t lineHeight,
                                          const GlyphMetrics& font) noexcept;

// A scroll bar as Qt wants it: positions 0 .. maximum, a page step, and the number of
// pixels one position stands for (positions stay within 32760 steps).
struct ScrollRange {
    std::int32_t maximum = 0;
    std::int32_t page = 1;
    std::int64_t scale = 1;

    [[nodiscard]] bool fits() const noexcept { return maximum <= 0; }
};

[[nodiscard]] ScrollRange verticalScrollRange(Pos totalLines, std::int32_t lineHeight,
                                              std::int32_t clientHeight) noexcept;

// `scrolls` false (word wrap at the window's width) gives a bar that cannot move.
[[nodiscard]] ScrollRange horizontalScrollRange(std::int64_t widestLine, std::int32_t leftMargin,
                                                std::int32_t rightMargin, std::int32_t clientWidth,
                                                bool scrolls) noexcept;

} // namespace tavrel
