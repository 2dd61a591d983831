// Helpers shared by the layout tests: glyph tables and breaking a text into its lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editor/glyph_metrics.h"
#include "editor/line_breaker.h"

namespace tavrel::test {

// Every glyph one unit wide: widths and columns are then counted in characters.
inline const TableGlyphMetrics& unitMetrics() {
    static const TableGlyphMetrics m = TableGlyphMetrics::uniform(1, 1, 0);
    return m;
}

inline GlyphWidths unitWidths(std::int32_t tabWidth = 8, bool fixedPitch = true) {
    GlyphWidths w;
    w.advances = &unitMetrics().advances();
    w.tabWidth = tabWidth;
    w.fixedPitch = fixedPitch;
    return w;
}

inline std::vector<std::string> breakAll(std::string_view text, std::int64_t width,
                                         const GlyphWidths& widths) {
    std::vector<std::string> lines;
    const auto n = static_cast<std::int64_t>(text.size());
    std::int64_t s = 0;
    do {
        const std::int64_t e = nextLineStart(text, s, width, widths);
        lines.emplace_back(
            text.substr(static_cast<std::size_t>(s), static_cast<std::size_t>(e - s)));
        s = e;
    } while (s < n);
    return lines;
}

} // namespace tavrel::test
