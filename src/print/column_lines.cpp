// Slot walking for one column; the blanks a wrapped line ends with are not printed
// because the reader would only see them as a ragged selection of nothing.
#include "print/column_lines.h"

#include <algorithm>

namespace tavrel {

std::vector<PrintedLine> columnLines(PrintLayout& layout, Pos page, std::int32_t column,
                                     Pos firstRow, Pos lastRow, double columnTop, double pitch) {
    std::vector<PrintedLine> out;
    const Pos rows = layout.linesPerColumn();
    const Pos columns = layout.settings().columnCount();
    if (page < 0 || column < 0 || column >= columns) {
        return out;
    }
    firstRow = std::max<Pos>(0, firstRow);
    lastRow = std::min<Pos>(rows - 1, lastRow);
    const Pos base = page * rows * columns + column * rows;
    WrappedLayout& lines = layout.lines();
    const Document& text = layout.text();
    for (Pos row = firstRow; row <= lastRow; ++row) {
        const Pos line = layout.lineOfSlot(base + row);
        if (line < 0) {
            continue; // a blank slot before a forced break, or past the end
        }
        const WrappedLayout::LineSpan span = lines.knownLine(line);
        Pos stop = span.stop;
        if (!span.lastOfParagraph) {
            const Document::Halves para = text.paragraphHalves(span.paragraph);
            while (stop > span.start && isBlank(para[static_cast<std::size_t>(stop - 1)])) {
                --stop;
            }
        }
        out.push_back({line, span.paragraph, span.start, stop,
                       columnTop + static_cast<double>(row - firstRow) * pitch});
    }
    return out;
}

std::string lineNumberText(Pos line, std::int64_t first) {
    return std::to_string(line + first) + ": ";
}

std::int64_t runWidth(std::string_view bytes, const GlyphWidths& widths) {
    return penAfter(bytes, 0, static_cast<std::int64_t>(bytes.size()), 0, widths);
}

} // namespace tavrel
