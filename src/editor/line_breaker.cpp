// The line-breaking and measuring rules. nextLineStart is the hot spot of formatting a
// 100 MB document, so fixed-pitch fonts take a counting path wherever a line has no tab.
#include "editor/line_breaker.h"

#include <algorithm>
#include <cstring>

namespace tavrel {
namespace {

[[nodiscard]] bool hasTab(const char* p, std::int64_t n) noexcept {
    return n > 0 && std::memchr(p, '\t', static_cast<std::size_t>(n)) != nullptr;
}

// The general rule, for any advances and for lines with tabs.
std::int64_t breakMeasured(std::string_view text, std::int64_t start, std::int64_t width,
                           const GlyphWidths& widths) noexcept {
    const auto n = static_cast<std::int64_t>(text.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const AdvanceTable& adv = *widths.advances;
    std::int64_t x = 0;
    std::int64_t i = start;
    std::int64_t lastBreak = -1; // after the last run of blanks: where a line may end
    while (i < n) {
        while (i < n && !isBlank(static_cast<char>(bytes[i]))) {
            const std::int64_t w = adv[bytes[i]];
            // The first character always takes its place, however narrow the line.
            if (x + w > width && i > start) {
                // Break before the word, or cut a word that is too wide on its own.
                return lastBreak >= 0 ? lastBreak : i;
            }
            x += w;
            ++i;
        }
        while (i < n && isBlank(static_cast<char>(bytes[i]))) {
            x += advanceAt(bytes[i], x, widths);
            ++i;
        }
        lastBreak = i;
    }
    return n;
}

} // namespace

GlyphWidths GlyphWidths::from(const GlyphMetrics& metrics, std::int32_t tabStops) {
    GlyphWidths w;
    w.advances = &metrics.advances();
    w.tabWidth = std::max<std::int32_t>(1, std::max(tabStops, 1) * metrics.spaceWidth());
    w.fixedPitch = metrics.isFixedPitch();
    return w;
}

std::int64_t wrapWidth(bool wordWrap, std::int32_t columnWrap, std::int64_t clientWidth,
                       std::int32_t leftMargin, std::int32_t rightMargin,
                       std::int32_t spaceWidth) noexcept {
    if (!wordWrap) {
        return kUnlimitedWidth;
    }
    std::int64_t w = 0;
    if (columnWrap > 0) {
        w = static_cast<std::int64_t>(columnWrap) * spaceWidth;
    } else if (columnWrap < 0) {
        w = -static_cast<std::int64_t>(columnWrap);
    } else {
        w = clientWidth - leftMargin - rightMargin;
    }
    return std::max<std::int64_t>(w, 1);
}

std::int64_t nextLineStart(std::string_view text, std::int64_t start, std::int64_t width,
                           const GlyphWidths& widths) noexcept {
    const auto n = static_cast<std::int64_t>(text.size());
    if (start >= n) {
        return n;
    }
    if (!widths.fixedPitch) {
        return breakMeasured(text, start, width, widths);
    }
    const std::int64_t advance = (*widths.advances)[0];
    // Characters that fit; the one after them decides where the line breaks.
    const std::int64_t fit = std::max<std::int64_t>(1, width / advance);
    if (fit >= n - start) {
        // Everything left fits unless a tab widens it.
        return hasTab(text.data() + start, n - start) ? breakMeasured(text, start, width, widths)
                                                      : n;
    }
    const char* p = text.data();
    if (hasTab(p + start, fit + 1)) {
        return breakMeasured(text, start, width, widths);
    }
    std::int64_t end = start + fit;
    if (isBlank(p[end])) {
        // The line is full at the end of a word; its trailing blanks stay with it.
        while (end < n && isBlank(p[end])) {
            ++end;
        }
        return end;
    }
    // Back to the last blank before the word that does not fit.
    for (std::int64_t k = end - 1; k >= start; --k) {
        if (isBlank(p[k])) {
            return k + 1;
        }
    }
    return end; // one word wider than the line: cut where it stops fitting
}

std::int64_t xOfOffset(std::string_view text, std::int64_t lineStart, std::int64_t offset,
                       const GlyphWidths& widths) noexcept {
    return penAfter(text, lineStart, offset, 0, widths);
}

std::int64_t penAfter(std::string_view text, std::int64_t from, std::int64_t to,
                      std::int64_t penFrom, const GlyphWidths& widths) noexcept {
    to = std::min<std::int64_t>(to, static_cast<std::int64_t>(text.size()));
    if (to <= from) {
        return penFrom;
    }
    if (widths.fixedPitch && !hasTab(text.data() + from, to - from)) {
        return penFrom + (to - from) * (*widths.advances)[0];
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::int64_t x = penFrom;
    for (std::int64_t i = from; i < to; ++i) {
        x += advanceAt(bytes[i], x, widths);
    }
    return x;
}

std::int64_t offsetAtX(std::string_view text, std::int64_t lineStart, std::int64_t lineEnd,
                       std::int64_t x, const GlyphWidths& widths) noexcept {
    lineEnd = std::min<std::int64_t>(lineEnd, static_cast<std::int64_t>(text.size()));
    if (x <= 0 || lineEnd <= lineStart) {
        return lineStart;
    }
    if (widths.fixedPitch && !hasTab(text.data() + lineStart, lineEnd - lineStart)) {
        const std::int64_t a = (*widths.advances)[0];
        return std::min(lineEnd, lineStart + (x + a / 2) / a);
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::int64_t pen = 0;
    for (std::int64_t i = lineStart; i < lineEnd; ++i) {
        const std::int64_t w = advanceAt(bytes[i], pen, widths);
        if (x < pen + (w + 1) / 2) {
            return i;
        }
        pen += w;
    }
    return lineEnd;
}

std::int64_t cellAtX(std::string_view text, std::int64_t lineStart, std::int64_t lineEnd,
                     std::int64_t x, const GlyphWidths& widths) noexcept {
    lineEnd = std::min<std::int64_t>(lineEnd, static_cast<std::int64_t>(text.size()));
    if (x < 0 || lineEnd <= lineStart) {
        return -1;
    }
    if (widths.fixedPitch && !hasTab(text.data() + lineStart, lineEnd - lineStart)) {
        const std::int64_t a = (*widths.advances)[0];
        const std::int64_t cell = a > 0 ? lineStart + x / a : lineEnd;
        return cell < lineEnd ? cell : -1;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::int64_t pen = 0;
    for (std::int64_t i = lineStart; i < lineEnd; ++i) {
        pen += advanceAt(bytes[i], pen, widths);
        if (x < pen) {
            return i;
        }
    }
    return -1;
}

} // namespace tavrel
