// The choices that shape a printout: margins and gutter in inches, line pitch, columns,
// wrapping and line numbers. The defaults are the program's own.
#pragma once

#include <cstdint>

namespace tavrel {

struct PrintSettings {
    double marginLeft = 0.75;
    double marginRight = 0.5;
    double marginTop = 0.75;
    double marginBottom = 0.75;
    // At least 0: inches from line to line. Negative -k: k times the print font's height.
    double lineSpacing = -1.5;
    double gutterWidth = 0.5;
    std::int32_t columns = 1; // values below 1 count as 1
    bool wordWrap = true;
    bool lineNumbers = false;
    std::int64_t startingLineNumber = 1;
    std::int32_t tabStops = 8; // in spaces

    [[nodiscard]] std::int32_t columnCount() const noexcept { return columns < 1 ? 1 : columns; }
};

} // namespace tavrel
