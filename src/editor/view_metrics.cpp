// Line height, baseline and scroll bar ranges.
#include "editor/view_metrics.h"

#include <algorithm>

namespace tavrel {

std::int32_t effectiveLineHeight(std::int32_t setting, const GlyphMetrics& font,
                                 Pos displayLines) noexcept {
    std::int32_t height = setting > 0 ? std::min<std::int32_t>(setting, 65535)
                                      : std::max<std::int32_t>(font.fontHeight(), 0) + 1;
    if (displayLines > 65535) {
        const Pos cap = 2147483647 / displayLines + 1;
        height = static_cast<std::int32_t>(std::min<Pos>(height, cap));
    }
    return std::max<std::int32_t>(height, 1);
}

std::int32_t baselineOffset(std::int32_t lineHeight, const GlyphMetrics& font) noexcept {
    const std::int32_t extra = lineHeight - font.fontHeight() + 1;
    const std::int32_t least = font.ascent() - font.internalLeading();
    std::int32_t baseline = lineHeight - font.descent() - extra / 2;
    if (baseline < least) {
        baseline = lineHeight - font.internalLeading();
        if (baseline < least) {
            baseline = lineHeight;
        }
    }
    return baseline;
}

ScrollRange verticalScrollRange(Pos totalLines, std::int32_t lineHeight,
                                std::int32_t clientHeight) noexcept {
    const Pos content = std::max<Pos>(totalLines, 1) * lineHeight;
    ScrollRange r;
    r.scale = content / 32760 + 1;
    const Pos windowsMax = std::max<Pos>(content / r.scale, clientHeight - lineHeight - 1);
    r.page = static_cast<std::int32_t>(std::max<Pos>((clientHeight - 3) / r.scale, 1));
    // A Windows range includes the page; Qt's maximum is the last position itself.
    r.maximum = static_cast<std::int32_t>(std::max<Pos>(0, windowsMax - r.page + 1));
    return r;
}

ScrollRange horizontalScrollRange(std::int64_t widestLine, std::int32_t leftMargin,
                                  std::int32_t rightMargin, std::int32_t clientWidth,
                                  bool scrolls) noexcept {
    const std::int64_t content = widestLine + leftMargin + rightMargin;
    ScrollRange r;
    r.scale = content / 32760 + 1;
    r.page = static_cast<std::int32_t>(
        std::max<std::int64_t>((clientWidth - leftMargin - rightMargin) / r.scale, 1));
    r.maximum = scrolls ? static_cast<std::int32_t>(
                              std::max<std::int64_t>(0, (content - clientWidth) / r.scale))
                        : 0;
    return r;
}

} // namespace tavrel
