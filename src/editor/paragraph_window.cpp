// The widening window over a paragraph's bytes.
#include "editor/paragraph_window.h"

#include <algorithm>

namespace tavrel {

ParagraphWindow::ParagraphWindow(Document& doc, Pos paragraph, Pos initial) noexcept
    : doc_(doc), paragraph_(paragraph), length_(doc.paragraphLength(paragraph)),
      initial_(std::max<Pos>(initial, 16)) {}

void ParagraphWindow::cover(Pos from, Pos to) noexcept {
    from = std::max<Pos>(from, 0);
    to = std::min(to, length_);
    const Pos end = begin_ + static_cast<Pos>(view_.size());
    if (!view_.empty() && from >= begin_ && to <= end) {
        return;
    }
    if (view_.empty()) {
        const Pos half = initial_ / 2;
        from = std::min(from, std::max<Pos>(0, to - half));
        to = std::max(to, std::min(length_, from + half));
    } else {
        // Grow on the side asked by the span held so far, so a long walk costs reads
        // proportional to its length, not to the number of steps.
        const Pos span = end - begin_;
        if (from < begin_) {
            from = std::max<Pos>(0, std::min(from, begin_ - span));
        } else {
            from = begin_;
        }
        to = to > end ? std::min(length_, std::max(to, end + span)) : end;
    }
    view_ = doc_.paragraphPart(paragraph_, from, to);
    begin_ = from;
}

Pos ParagraphWindow::lastBlankBefore(Pos from) noexcept {
    Pos i = std::min(from, length_) - 1;
    while (i >= 0) {
        cover(i, i + 1);
        for (; i >= begin_; --i) {
            if (isBlank(view_[static_cast<std::size_t>(i - begin_)])) {
                return i;
            }
        }
    }
    return -1;
}

Pos ParagraphWindow::nextLineStart(Pos start, std::int64_t width,
                                   const GlyphWidths& widths) noexcept {
    if (start >= length_) {
        return length_;
    }
    cover(start, start + 1);
    for (;;) {
        const Pos end = begin_ + static_cast<Pos>(view_.size());
        const Pos next = begin_ + tavrel::nextLineStart(view_, start - begin_, width, widths);
        // An answer before the window's end was decided by the bytes inside it.
        if (next < end || end == length_) {
            return next;
        }
        cover(start, end + 1);
    }
}

} // namespace tavrel
