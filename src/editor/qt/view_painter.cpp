// Painting display lines: per line the background, then the text in runs of one style
// (highlighting and selection cut the line into runs), then the marks at its end.
#include "editor/qt/view_painter.h"

#include <algorithm>

#include "editor/line_breaker.h"
#include "platform/qt_look.h"

namespace tavrel {

QColor runColor(ColorRef color) {
    if (color == kNoColor || color == kDefaultColor) {
        return {};
    }
    return toQColor(color); // a system colour (an address's clInfoBk) resolves now
}

void ViewPainter::paint(QPainter& painter, const ViewAppearance& look, const ViewWindow& window,
                        const QRect& clip) {
    runsParagraph_ = -1; // the text may have changed since the last paint
    glyphs_.begin(painter);
    const std::int32_t lh = std::max(look.lineHeight, 1);
    Pos line = window.firstLine;
    std::int32_t top = window.firstLineTop;
    if (clip.top() > top + lh) {
        const Pos skip = (clip.top() - top) / lh;
        line += skip;
        top += static_cast<std::int32_t>(skip * lh);
    }
    while (top <= clip.bottom() && line < layout_.knownLineCount()) {
        // Formatting a paragraph changes only the lines from its own first line on, so
        // the line index stays valid for the paragraph it names.
        layout_.ensureFormatted(layout_.knownParagraphOfLine(line));
        if (line >= layout_.knownLineCount()) {
            break;
        }
        paintLine(layout_.knownLine(line), top, look, window, clip);
        top += lh;
        ++line;
    }
    if (top <= clip.bottom()) {
        glyphs_.fill(clip.left(), std::max(top, clip.top()), clip.right() + 1, clip.bottom() + 1,
                     look.background);
    }
    glyphs_.end();
}

void ViewPainter::fetchRuns(Pos paragraph) {
    if (runsParagraph_ == paragraph) {
        return;
    }
    runs_.clear();
    runsParagraph_ = paragraph;
    if (highlights_ != nullptr) {
        highlights_->runsOf(paragraph,
                            highlights_->readsText() ? engine_.document().paragraph(paragraph)
                                                     : std::string_view(),
                            runs_);
    }
}

GlyphPainter::Style ViewPainter::styleAt(Pos offset, bool selected,
                                         const ViewAppearance& look) const {
    GlyphPainter::Style style;
    style.text = look.text;
    style.markSpaces = look.showSpaces;
    style.markTabs = look.showTabs;
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), offset,
                                      [](Pos o, const HighlightRun& r) { return o < r.start; });
    if (run != runs_.begin() && offset < std::prev(run)->start + std::prev(run)->length) {
        const HighlightRun& r = *std::prev(run);
        if (const QColor c = runColor(r.color); c.isValid()) {
            style.text = c;
        }
        style.background = runColor(r.background);
        style.bold = (r.style & hsBold) != 0;
        style.italic = (r.style & hsItalic) != 0;
        style.underline = (r.style & hsUnderline) != 0;
        style.zigzag = (r.style & hsSpecialUnderline) != 0;
    }
    if (selected) {
        style.text = look.selectedText;
        style.background = engine_.selection().isBlock() ? QColor() : look.selectedBackground;
    }
    return style;
}

Pos ViewPainter::nextBoundary(Pos offset, Pos selFrom, Pos selTo, Pos limit) const {
    Pos next = limit;
    for (const Pos b : {selFrom, selTo}) {
        if (b > offset) {
            next = std::min(next, b);
        }
    }
    const auto run = std::upper_bound(runs_.begin(), runs_.end(), offset,
                                      [](Pos o, const HighlightRun& r) { return o < r.start; });
    if (run != runs_.end()) {
        next = std::min(next, run->start);
    }
    if (run != runs_.begin()) {
        const Pos end = std::prev(run)->start + std::prev(run)->length;
        if (end > offset) {
            next = std::min(next, end);
        }
    }
    return next;
}

void ViewPainter::paintLine(const WrappedLayout::LineSpan& span, std::int32_t top,
                            const ViewAppearance& look, const ViewWindow& window,
                            const QRect& clip) {
    Document& doc = engine_.document();
    const Pos p = span.paragraph;
    // Only this line's bytes are read, as `text` from `base` on: reading a whole long
    // paragraph would make the document close its gap at the caret on every repaint.
    const Pos base = span.start;
    const std::string_view text = doc.paragraphPart(p, span.start, span.stop);
    const Pos length = doc.paragraphLength(p);
    const GlyphWidths& widths = layout_.widths();
    const std::int64_t spaceWidth = (*widths.advances)[' '];
    const std::int64_t left = look.leftMargin - window.scrollX;
    const GlyphPainter::Line line{left, top, look.lineHeight, look.baseline};
    const std::int64_t bottom = static_cast<std::int64_t>(top) + look.lineHeight;
    glyphs_.fill(clip.left(), top, clip.right() + 1, bottom, look.background);
    fetchRuns(p);

    // The blanks that end a wrapped line are not drawn unless blanks are shown.
    Pos stop = span.stop;
    if (!span.lastOfParagraph && !look.showSpaces) {
        while (stop > span.start && isBlank(text[static_cast<std::size_t>(stop - 1 - base)])) {
            --stop;
        }
    }

    Pos selFrom = 0;
    Pos selTo = 0;
    bool breakSelected = false;
    if (look.showSelection) {
        const Pos paraStart = doc.paragraphStart(p);
        const Pos low = engine_.selection().low();
        const Pos high = engine_.selection().high();
        if (engine_.selection().isBlock()) {
            if (p >= doc.paragraphAt(low) && p <= doc.paragraphAt(high)) {
                selFrom = engine_.offsetAtColumn(p, engine_.selection().blockLowColumn());
                selTo = engine_.offsetAtColumn(p, engine_.selection().blockHighColumn());
                // Block selections work in cells of the space width, beyond the text too.
                glyphs_.fill(left + engine_.selection().blockLowColumn() * spaceWidth, top,
                             left + engine_.selection().blockHighColumn() * spaceWidth, bottom,
                             look.selectedBackground);
            }
        } else if (high > low) {
            selFrom = std::clamp<Pos>(low - paraStart, 0, length);
            selTo = std::clamp<Pos>(high - paraStart, 0, length);
            breakSelected = low <= paraStart + length && high > paraStart + length;
        }
    }

    // Only the part of the line inside the clip is drawn (long unwrapped lines).
    const Pos from = std::max(
        span.start, base + offsetAtX(text, 0, stop - base, clip.left() - left, widths) - 1);
    const Pos to =
        std::min(stop, base + offsetAtX(text, 0, stop - base, clip.right() + 1 - left, widths) + 1);
    std::int64_t pen = xOfOffset(text, 0, from - base, widths);
    for (Pos i = from; i < to;) {
        const Pos next = nextBoundary(i, selFrom, selTo, to);
        glyphs_.drawRun(text, i - base, next - base, pen, line,
                        styleAt(i, i >= selFrom && i < selTo, look), widths);
        pen = penAfter(text, i - base, next - base, pen, widths);
        i = next;
    }

    if (span.lastOfParagraph && p + 1 < doc.paragraphCount()) {
        const std::int64_t end = to == stop ? pen : xOfOffset(text, 0, stop - base, widths);
        if (breakSelected && look.showEndOfParagraphSelected) {
            glyphs_.fill(left + end, top, left + end + spaceWidth, bottom, look.selectedBackground);
        }
        if (look.showReturns) {
            static constexpr char kMark[1] = {static_cast<char>(GlyphPainter::kReturnMark)};
            glyphs_.drawRun(std::string_view(kMark, 1), 0, 1, end, line,
                            styleAt(length, breakSelected, look), widths);
        }
    }
}

} // namespace tavrel
