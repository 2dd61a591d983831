// Column by column, line by line: the line number ends where the text begins, inside the
// left margin; nothing clips a long word at the right margin.
#include "print/qt/page_painter.h"

#include "editor/line_breaker.h"
#include "platform/qt_look.h"
#include "print/column_lines.h"
#include "print/nearest.h"

namespace tavrel {

void PagePainter::paintPage(QPainter& painter, PrintLayout& layout, Pos page,
                            const Options& options) {
    layout.layout();
    if (page < 0 || page >= layout.pageCount()) {
        return;
    }
    if (font_ != device_.drawingFont() || pixelSize_ != device_.fontPixelSize()) {
        font_ = device_.drawingFont();
        pixelSize_ = device_.fontPixelSize();
        glyphs_.setFont(font_, pixelSize_);
    }
    glyphs_.setByteGlyphs(device_.byteGlyphs());
    const GlyphMetrics& metrics = layout.device().glyphMetrics();
    const GlyphWidths widths = GlyphWidths::from(metrics, layout.settings().tabStops);
    const double pitch =
        options.exactPitch ? layout.exactLinePitch() : static_cast<double>(layout.linePitch());
    const PrintSettings& settings = layout.settings();
    Document& text = layout.text();

    GlyphPainter::Style style;
    style.text = options.color;
    glyphs_.begin(painter);
    for (std::int32_t column = 0; column < settings.columnCount(); ++column) {
        const std::int64_t left = layout.columnLeft(column);
        const double top = static_cast<double>(layout.textTop()) +
                           static_cast<double>(std::max<Pos>(0, options.firstRow)) * pitch;
        const std::vector<PrintedLine> lines =
            columnLines(layout, page, column, options.firstRow, options.lastRow, top, pitch);
        for (const PrintedLine& printed : lines) {
            GlyphPainter::Line line;
            line.left = left;
            line.top = static_cast<std::int32_t>(nearest(printed.top));
            line.height = static_cast<std::int32_t>(layout.linePitch());
            line.baseline = metrics.ascent();
            if (options.colours != nullptr) {
                drawColouredLine(text, printed.paragraph, printed.start, printed.stop, line,
                                 options, widths);
            } else {
                const std::string_view para = text.paragraphPart(
                    printed.paragraph, printed.start, text.paragraphLength(printed.paragraph));
                glyphs_.drawRun(para, 0, printed.stop - printed.start, 0, line, style, widths);
            }
            if (settings.lineNumbers) {
                const std::string number =
                    lineNumberText(printed.line, settings.startingLineNumber);
                GlyphPainter::Line numberLine = line;
                numberLine.left = left - runWidth(number, widths);
                glyphs_.drawRun(number, 0, static_cast<Pos>(number.size()), 0, numberLine, style,
                                widths);
            }
        }
    }
    glyphs_.end();
}

void PagePainter::drawColouredLine(Document& text, Pos paragraph, Pos start, Pos stop,
                                   const GlyphPainter::Line& line, const Options& options,
                                   const GlyphWidths& widths) {
    const std::string_view para = text.paragraph(paragraph);
    runs_.clear();
    options.colours->runsOf(paragraph, para, runs_);
    const std::string_view part = para.substr(static_cast<std::size_t>(start));
    std::int64_t pen = 0;
    Pos at = start;
    const auto draw = [&](Pos to, const GlyphPainter::Style& style) {
        if (to <= at) {
            return;
        }
        glyphs_.drawRun(part, at - start, to - start, pen, line, style, widths);
        pen = penAfter(part, at - start, to - start, pen, widths);
        at = to;
    };
    GlyphPainter::Style plain;
    plain.text = options.color;
    for (const HighlightRun& run : runs_) {
        if (run.start + run.length <= at) {
            continue;
        }
        if (run.start >= stop) {
            break;
        }
        draw(std::min(run.start, stop), plain);
        GlyphPainter::Style style;
        style.text = isPlainColor(run.color) ? toQColor(run.color) : options.color;
        if (isPlainColor(run.background)) {
            style.background = toQColor(run.background);
        }
        draw(std::min(run.start + run.length, stop), style);
    }
    draw(stop, plain);
}

} // namespace tavrel
