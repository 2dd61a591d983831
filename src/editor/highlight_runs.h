// The hook through which highlighters (addresses, keywords) tell the painter how parts of
// a paragraph look. The painter asks once per painted paragraph; no highlighter is
// attached until the program attaches one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "editor/types.h"

namespace tavrel {

// A colour as the program stores colours: 0x00BBGGRR. kNoColor (and -1) means "none":
// the editor's own text colour, or no background behind the characters.
using ColorRef = std::uint32_t;
inline constexpr ColorRef kNoColor = 0x1FFFFFFF;
inline constexpr ColorRef kDefaultColor = 0xFFFFFFFF;

[[nodiscard]] constexpr bool isPlainColor(ColorRef c) noexcept {
    return (c & 0xFF000000u) == 0;
}

enum HighlightStyle : std::uint8_t {
    hsBold = 1,
    hsItalic = 2,
    hsUnderline = 4,
    hsSpecialUnderline = 8, // the zigzag line
};

struct HighlightRun {
    Pos start = 0; // offset in the paragraph
    Pos length = 0;
    ColorRef color = kNoColor;
    ColorRef background = kNoColor;
    std::uint8_t style = 0;
    // The cursor over the run (0: the editor's own, 1: the pointing hand) and the number a
    // click on it reports (0: the run is not clickable and not closed to later scanners).
    std::int16_t cursor = 0;
    std::int32_t context = 0;
};

inline constexpr std::int16_t kHandCursor = 1;

// What the editor tells its highlighter about the mouse and keys. Click: the left button
// released where it was pressed, or the right button released, at a position in a run with
// a context; the others are the raw input a highlighter waiting for a double-click follows.
enum class MouseNote : std::uint8_t { Click, DoubleClick, LeftButtonUp, OtherInput };

class HighlightSource {
public:
    HighlightSource() = default;
    HighlightSource(const HighlightSource&) = delete;
    HighlightSource& operator=(const HighlightSource&) = delete;
    virtual ~HighlightSource() = default;

    // Appends the runs of a paragraph, in order and not overlapping, to `out`.
    virtual void runsOf(Pos paragraph, std::string_view text, std::vector<HighlightRun>& out) = 0;

    // The run covering `offset` of a paragraph, or one of length 0 when none does. Asked
    // on every mouse move; sources that keep their runs answer without copying them.
    virtual HighlightRun runAt(Pos paragraph, std::string_view text, Pos offset) {
        std::vector<HighlightRun> runs;
        runsOf(paragraph, text, runs);
        for (const HighlightRun& run : runs) {
            if (offset >= run.start && offset < run.start + run.length) {
                return run;
            }
        }
        return {};
    }

    // Whether `run` marks an address, which a right click opens instead of showing the popup
    // menu. Other runs that report clicks (keywords) leave the right button to the menu.
    [[nodiscard]] virtual bool isAddress(const HighlightRun& /*run*/) const { return false; }

    // `position` is the document position under the mouse.
    virtual void mouseNote(MouseNote /*note*/, Pos /*position*/) {}

    // False for a source that finds its runs without the `text` passed (it keeps them and
    // reads the document itself): the painter then passes none, sparing a long paragraph
    // being made contiguous on every repaint.
    [[nodiscard]] virtual bool readsText() const noexcept { return true; }
};

} // namespace tavrel
