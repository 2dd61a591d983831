// Which display lines one column of a page shows and where, in printer pixels from the
// paper's corner: the part both the printer and the preview draw from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/line_breaker.h"
#include "editor/types.h"
#include "print/print_layout.h"

namespace tavrel {

struct PrintedLine {
    Pos line = 0; // display line index
    Pos paragraph = 0;
    Pos start = 0;  // bytes [start, stop) of the paragraph, trailing blanks of a
    Pos stop = 0;   // wrapped line already cut off
    double top = 0; // top of the line, unscaled
};

// Lines of column `column` of page `page`, slots firstRow..lastRow of the column (rows
// counted from the column's top, clamped to the column). `pitch` is the distance of two
// rows (the exact one on paper, the rounded one in the preview); row r has its top at
// columnTop + (r - firstRow) * pitch.
[[nodiscard]] std::vector<PrintedLine> columnLines(PrintLayout& layout, Pos page,
                                                   std::int32_t column, Pos firstRow, Pos lastRow,
                                                   double columnTop, double pitch);

// The number put before a printed line: its display-line index counted from `first`,
// and ": ".
[[nodiscard]] std::string lineNumberText(Pos line, std::int64_t first);

// Width of a run of bytes with the printer's widths (the line number's room).
[[nodiscard]] std::int64_t runWidth(std::string_view bytes, const GlyphWidths& widths);

} // namespace tavrel
