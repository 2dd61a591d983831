// The derived figures of GlyphMetrics and the value-holding implementation.
#include "editor/glyph_metrics.h"

#include <algorithm>

namespace tavrel {

std::int32_t GlyphMetrics::maxAdvance() const noexcept {
    const AdvanceTable& a = advances();
    return *std::max_element(a.begin(), a.end());
}

bool GlyphMetrics::isFixedPitch() const noexcept {
    const AdvanceTable& a = advances();
    return std::all_of(a.begin(), a.end(), [&](std::int32_t w) { return w == a[0]; });
}

TableGlyphMetrics::TableGlyphMetrics(const AdvanceTable& advances, std::int32_t ascent,
                                     std::int32_t descent, std::int32_t internalLeading) noexcept
    : advances_(advances), ascent_(ascent), descent_(descent), internalLeading_(internalLeading) {
    // A zero advance would let a line take infinitely many characters; the layout relies on
    // every glyph moving the pen.
    for (std::int32_t& w : advances_) {
        w = std::max<std::int32_t>(w, 1);
    }
}

TableGlyphMetrics TableGlyphMetrics::uniform(std::int32_t advance, std::int32_t ascent,
                                             std::int32_t descent) noexcept {
    AdvanceTable t;
    t.fill(advance);
    return TableGlyphMetrics(t, ascent, descent);
}

} // namespace tavrel
