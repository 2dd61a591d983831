// Paints display lines of an editor's document: backgrounds, text runs with their
// highlighting, the selection (a stream or a column block), visible blanks and paragraph
// ends. One routine for the widget, the image of its viewport and a whole-document image.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

#include <cstdint>
#include <vector>

#include "editor/highlight_runs.h"
#include "editor/qt/glyph_painter.h"
#include "editor/text_engine.h"
#include "editor/wrapped_layout.h"

namespace tavrel {

// How the text looks, apart from the text itself.
struct ViewAppearance {
    QColor text{Qt::white};
    QColor background{0, 0, 0x4A}; // the program's dark blue
    QColor selectedText{Qt::white};
    QColor selectedBackground{0, 0x78, 0xD7};
    std::int32_t leftMargin = 8;
    std::int32_t lineHeight = 16;
    std::int32_t baseline = 12;
    bool showSpaces = false;
    bool showTabs = false;
    bool showReturns = false;
    bool showSelection = true;
    // A paragraph break inside the selection shows as one selected cell.
    bool showEndOfParagraphSelected = true;
};

// Which part of the document a view shows, in logical pixels of the target; the clip
// given to paint() says how much of it.
struct ViewWindow {
    Pos firstLine = 0;             // display line at the top
    std::int32_t firstLineTop = 0; // its y: 0, or above 0 when scrolled by part of a line
    std::int64_t scrollX = 0;
};

class ViewPainter {
public:
    ViewPainter(TextEngine& engine, WrappedLayout& layout, GlyphPainter& glyphs)
        : engine_(engine), layout_(layout), glyphs_(glyphs) {}

    void setHighlightSource(HighlightSource* source) noexcept { highlights_ = source; }

    // Paints the lines that meet `clip` and fills the rest of it with the background;
    // paragraphs not yet broken into lines are formatted on the way.
    void paint(QPainter& painter, const ViewAppearance& look, const ViewWindow& window,
               const QRect& clip);

private:
    void paintLine(const WrappedLayout::LineSpan& span, std::int32_t top,
                   const ViewAppearance& look, const ViewWindow& window, const QRect& clip);
    void fetchRuns(Pos paragraph);
    [[nodiscard]] GlyphPainter::Style styleAt(Pos offset, bool selected,
                                              const ViewAppearance& look) const;
    // Where a highlight run or the selection begins or ends next after `offset`.
    [[nodiscard]] Pos nextBoundary(Pos offset, Pos selFrom, Pos selTo, Pos limit) const;

    TextEngine& engine_;
    WrappedLayout& layout_;
    GlyphPainter& glyphs_;
    HighlightSource* highlights_ = nullptr;
    std::vector<HighlightRun> runs_;
    Pos runsParagraph_ = -1;
};

// QColor of a run's colour; invalid for "none" and for "the editor's own".
[[nodiscard]] QColor runColor(ColorRef color);

} // namespace tavrel
