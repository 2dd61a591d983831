// Breaking a paragraph into display lines and measuring along a display line: pure
// functions of the paragraph's bytes, the available width and the glyph advances, so that
// the screen, the GIF export and the printer share one set of rules and tests need no font.
#pragma once

#include <cstdint>
#include <string_view>

#include "editor/glyph_metrics.h"

namespace tavrel {

// How wide each byte is on the line. Tabs advance to the next multiple of tabWidth
// measured from the display line's left edge.
struct GlyphWidths {
    const AdvanceTable* advances = nullptr;
    std::int32_t tabWidth = 64;
    // All advances equal: counting replaces measuring wherever a stretch holds no tab.
    bool fixedPitch = false;

    [[nodiscard]] static GlyphWidths from(const GlyphMetrics& metrics, std::int32_t tabStops);
};

// The width a wrapped line may take, in pixels (at least 1). Word wrap off means
// "unlimited", held as a width no line reaches.
[[nodiscard]] std::int64_t wrapWidth(bool wordWrap, std::int32_t columnWrap,
                                     std::int64_t clientWidth, std::int32_t leftMargin,
                                     std::int32_t rightMargin, std::int32_t spaceWidth) noexcept;

inline constexpr std::int64_t kUnlimitedWidth = INT64_MAX / 4;

[[nodiscard]] constexpr bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t';
}

// The offset where the next display line begins when one begins at `start` (< size):
// a line may break after a run of spaces or tabs; the spaces that follow a word stay on
// its line even past the width; a word wider than the line on its own is cut character by
// character, at least one character a line. Returns paragraph.size() for the last line.
[[nodiscard]] std::int64_t nextLineStart(std::string_view paragraph, std::int64_t start,
                                         std::int64_t width, const GlyphWidths& widths) noexcept;

// Pixel x of `offset` on the display line that starts at lineStart (offset >= lineStart).
[[nodiscard]] std::int64_t xOfOffset(std::string_view paragraph, std::int64_t lineStart,
                                     std::int64_t offset, const GlyphWidths& widths) noexcept;

// Pen position after bytes [from, to) of a line when `from` sits at pen `penFrom`.
[[nodiscard]] std::int64_t penAfter(std::string_view paragraph, std::int64_t from, std::int64_t to,
                                    std::int64_t penFrom, const GlyphWidths& widths) noexcept;

// The offset in [lineStart, lineEnd] whose caret position is nearest to pixel x: a click
// on the right half of a character lands after it.
[[nodiscard]] std::int64_t offsetAtX(std::string_view paragraph, std::int64_t lineStart,
                                     std::int64_t lineEnd, std::int64_t x,
                                     const GlyphWidths& widths) noexcept;

// The offset in [lineStart, lineEnd) of the character whose cell holds pixel x, or -1 when x
// lies before the line or past its last character. What the pointer is over (an address)
// goes by cells; where a click puts the caret goes by offsetAtX.
[[nodiscard]] std::int64_t cellAtX(std::string_view paragraph, std::int64_t lineStart,
                                   std::int64_t lineEnd, std::int64_t x,
                                   const GlyphWidths& widths) noexcept;

// Advance of byte c at pen position x on a line (tabs depend on where they start).
[[nodiscard]] inline std::int64_t advanceAt(unsigned char c, std::int64_t x,
                                            const GlyphWidths& widths) noexcept {
    if (c == '\t') {
        return widths.tabWidth - x % widths.tabWidth;
    }
    return (*widths.advances)[c];
}

} // namespace tavrel
