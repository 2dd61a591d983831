// The selection's own arithmetic: placing its ends and the rectangle of a column block.
#include "editor/selection.h"

#include "editor/document.h"

namespace tavrel {

Selection::Block Selection::block(const Document& document) const {
    return {document.paragraphAt(low()), document.paragraphAt(high()), blockLowColumn(),
            blockHighColumn()};
}

void Selection::place(Pos anchor, Pos caret) noexcept {
    anchor_ = anchor;
    caret_ = caret;
    block_ = false;
}

void Selection::placeBlock(Pos anchor, Pos caret, Pos anchorColumn, Pos caretColumn) noexcept {
    anchor_ = anchor;
    caret_ = caret;
    block_ = true;
    anchorColumn_ = std::max<Pos>(0, anchorColumn);
    caretColumn_ = std::max<Pos>(0, caretColumn);
}

void Selection::normalise(const Document& document) {
    caret_ = document.normalise(caret_);
    anchor_ = document.normalise(anchor_);
}

} // namespace tavrel
