// The colour runs of ANSI art's rows.
#include "editor/ansi_colour_runs.h"

#include <algorithm>

namespace tavrel {

ColorRef ansiColourRef(std::uint8_t index) noexcept {
    const std::uint32_t rgb = ansiColourRgb(index);
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void AnsiColourRuns::runsOf(Pos paragraph, std::string_view text, std::vector<HighlightRun>& out) {
    if (paragraph < 0 || static_cast<std::size_t>(paragraph) >= screen_->rows()) {
        return;
    }
    const auto row = static_cast<std::size_t>(paragraph);
    const int cells = static_cast<int>(std::min<std::size_t>(text.size(), screen_->width()));
    for (int column = 0; column < cells;) {
        const AnsiCell& first = screen_->at(row, column);
        int end = column + 1;
        while (end < cells && screen_->at(row, end).foreground == first.foreground &&
               screen_->at(row, end).background == first.background) {
            ++end;
        }
        HighlightRun run;
        run.start = column;
        run.length = end - column;
        run.color = ansiColourRef(first.foreground);
        run.background = ansiColourRef(first.background);
        out.push_back(run);
        column = end;
    }
}

} // namespace tavrel
