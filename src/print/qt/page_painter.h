// Draws one page of a print layout with the editor's glyph painter: on paper at the
// printer's own pixels, or scaled on the preview's sheet. Both walk the same columns and
// place every glyph at the position the printer gives it.
#pragma once

#include <QColor>
#include <QPainter>

#include <limits>

#include "editor/highlight_runs.h"
#include "editor/qt/glyph_painter.h"
#include "print/print_layout.h"
#include "print/qt/qt_print_device.h"

namespace tavrel {

class PagePainter {
public:
    explicit PagePainter(const QtPrintDevice& device) : device_(device) {}
    PagePainter(const PagePainter&) = delete; // owns the glyph tables of one painter
    PagePainter& operator=(const PagePainter&) = delete;

    struct Options {
        // Paper uses the exact line pitch; the preview the rounded one.
        bool exactPitch = true;
        // Rows of each column to draw (the preview draws only what is visible).
        Pos firstRow = 0;
        Pos lastRow = std::numeric_limits<Pos>::max();
        QColor color = Qt::black;
        // Colours of parts of paragraphs (ANSI art's cells), over `color`; null: none.
        HighlightSource* colours = nullptr;
    };

    // The painter's coordinates are printer pixels from the paper's corner (scaled by the
    // painter's transform for the preview).
    void paintPage(QPainter& painter, PrintLayout& layout, Pos page, const Options& options);

private:
    // One printed line (bytes [start, stop) of its paragraph) in the colours' runs.
    void drawColouredLine(Document& text, Pos paragraph, Pos start, Pos stop,
                          const GlyphPainter::Line& line, const Options& options,
                          const GlyphWidths& widths);

    const QtPrintDevice& device_;
    std::vector<HighlightRun> runs_;
    GlyphPainter glyphs_;
    QFont font_;
    qreal pixelSize_ = 0;
};

} // namespace tavrel
