// ANSI art's colours as the painter's highlight runs: each paragraph is a row of the drawn
// screen, each of its bytes a cell with a foreground and a background of its own.
#pragma once

#include "editor/highlight_runs.h"
#include "text/ansi_screen.h"

#include <memory>
#include <string_view>
#include <vector>

namespace tavrel {

// The store's colour (0x00BBGGRR) of one of the sixteen screen colours.
[[nodiscard]] ColorRef ansiColourRef(std::uint8_t index) noexcept;

class AnsiColourRuns final : public HighlightSource {
public:
    explicit AnsiColourRuns(std::shared_ptr<const AnsiScreen> screen) noexcept
        : screen_(std::move(screen)) {}

    [[nodiscard]] const AnsiScreen& screen() const noexcept { return *screen_; }

    // One run per stretch of cells with the same two colours, over the paragraph's bytes;
    // a paragraph past the screen's rows has none.
    void runsOf(Pos paragraph, std::string_view text, std::vector<HighlightRun>& out) override;

private:
    std::shared_ptr<const AnsiScreen> screen_;
};

} // namespace tavrel
