// Where an editor's selection stands: the caret and the anchor as document positions, and for
// a column block the display columns at either end. It holds positions only; the engine moves
// it, keeps its ends on character boundaries and tells the views.
#pragma once

#include <algorithm>

#include "editor/types.h"

namespace tavrel {

class Document;

class Selection {
public:
    // The rectangle of a column block: the paragraphs from the upper end's to the lower
    // end's, between two display columns (low <= high).
    struct Block {
        Pos firstParagraph = 0;
        Pos lastParagraph = 0;
        Pos lowColumn = 0;
        Pos highColumn = 0;
    };

    [[nodiscard]] Pos caret() const noexcept { return caret_; }
    [[nodiscard]] Pos anchor() const noexcept { return anchor_; }
    // From the caret to the anchor: negative when the anchor lies before the caret.
    [[nodiscard]] Pos length() const noexcept { return anchor_ - caret_; }
    // The ends in document order, whichever of them is the caret.
    [[nodiscard]] Pos low() const noexcept { return std::min(caret_, anchor_); }
    [[nodiscard]] Pos high() const noexcept { return std::max(caret_, anchor_); }
    // Nothing selected: a plain selection whose ends meet. (A block of zero width still
    // spans paragraphs, and deleting it is a change.)
    [[nodiscard]] bool empty() const noexcept { return !block_ && caret_ == anchor_; }

    [[nodiscard]] bool isBlock() const noexcept { return block_; }
    [[nodiscard]] Pos blockLowColumn() const noexcept {
        return std::min(anchorColumn_, caretColumn_);
    }
    [[nodiscard]] Pos blockHighColumn() const noexcept {
        return std::max(anchorColumn_, caretColumn_);
    }
    [[nodiscard]] Pos blockCaretColumn() const noexcept { return caretColumn_; }
    // The block's rectangle in `document`; meaningful while isBlock().
    [[nodiscard]] Block block(const Document& document) const;

    // A plain selection from anchor to caret (equal ends place the caret).
    void place(Pos anchor, Pos caret) noexcept;
    void collapse(Pos position) noexcept { place(position, position); }
    // A column block; negative columns count as column 0.
    void placeBlock(Pos anchor, Pos caret, Pos anchorColumn, Pos caretColumn) noexcept;
    // Moves both ends onto valid positions of `document` (inside it, never between the CR
    // and LF of a break).
    void normalise(const Document& document);

private:
    Pos caret_ = 0;
    Pos anchor_ = 0;
    bool block_ = false;
    Pos anchorColumn_ = 0;
    Pos caretColumn_ = 0;
};

} // namespace tavrel
