// A stretch of one paragraph read on demand and widened as a reader walks past its edges,
// so that rebreaking the lines around a keystroke reads (and moves the document's gap over)
// only those lines, never the whole of a paragraph that may hold hundreds of megabytes.
#pragma once

#include <string_view>

#include "editor/document.h"
#include "editor/line_breaker.h"
#include "editor/types.h"

namespace tavrel {

class ParagraphWindow {
public:
    // Reads of paragraph p start with about `initial` bytes around the first offset asked.
    ParagraphWindow(Document& doc, Pos paragraph, Pos initial = 4096) noexcept;

    [[nodiscard]] Pos length() const noexcept { return length_; }
    // The last offset before `from` (exclusive) holding a space or tab, or -1.
    [[nodiscard]] Pos lastBlankBefore(Pos from) noexcept;
    // What nextLineStart says for the whole paragraph, read through the window: a window
    // that ends before the paragraph does is widened whenever the answer reaches its end.
    [[nodiscard]] Pos nextLineStart(Pos start, std::int64_t width,
                                    const GlyphWidths& widths) noexcept;

private:
    // Makes the window cover [from, to) at least, doubling its span to keep reads few.
    void cover(Pos from, Pos to) noexcept;

    Document& doc_;
    Pos paragraph_;
    Pos length_;
    Pos initial_;
    Pos begin_ = 0; // the window is [begin_, begin_ + view_.size())
    std::string_view view_;
};

} // namespace tavrel
