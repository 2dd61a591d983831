// The selection on its own: ends in either order, the column block's rectangle, and what
// counts as nothing selected.
#include <gtest/gtest.h>

#include "editor/document.h"
#include "editor/selection.h"

namespace tavrel {
namespace {

TEST(SelectionEnds, lowAndHighFollowDocumentOrderWhicheverEndIsTheCaret) {
    Selection s;
    s.place(9, 4); // dragged upwards: the anchor is below the caret
    EXPECT_EQ(s.caret(), 4);
    EXPECT_EQ(s.anchor(), 9);
    EXPECT_EQ(s.length(), 5);
    EXPECT_EQ(s.low(), 4);
    EXPECT_EQ(s.high(), 9);
    s.place(4, 9);
    EXPECT_EQ(s.length(), -5);
    EXPECT_EQ(s.low(), 4);
    EXPECT_EQ(s.high(), 9);
    s.collapse(7);
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.length(), 0);
}

TEST(SelectionBlock, theRectangleSpansTheEndsParagraphsBetweenOrderedColumns) {
    Document doc;
    doc.load("aaaa\r\nbbbb\r\ncccc\r\ndddd", false);
    Selection s;
    // Caret in paragraph 0 at column 1, anchor in paragraph 2 at column 3, dragged up-left.
    s.placeBlock(doc.paragraphStart(2) + 3, 1, 3, 1);
    const Selection::Block b = s.block(doc);
    EXPECT_EQ(b.firstParagraph, 0);
    EXPECT_EQ(b.lastParagraph, 2);
    EXPECT_EQ(b.lowColumn, 1);
    EXPECT_EQ(b.highColumn, 3);
    EXPECT_EQ(s.blockCaretColumn(), 1);

    // A block of no width still spans paragraphs: deleting it is a change, so it is not
    // "nothing selected", even with both ends on one position.
    s.placeBlock(2, 2, 2, 2);
    EXPECT_FALSE(s.empty());
    s.placeBlock(0, 0, -4, -1); // columns left of the text count as column 0
    EXPECT_EQ(s.blockLowColumn(), 0);
    EXPECT_EQ(s.blockHighColumn(), 0);
    s.place(0, 0); // a plain placement leaves block mode
    EXPECT_FALSE(s.isBlock());
}

TEST(SelectionEnds, normalisingMovesEndsOutOfBreaksAndIntoTheText) {
    Document doc;
    doc.load("ab\r\ncd", false);
    Selection s;
    s.place(99, 3); // past the end; between CR and LF
    s.normalise(doc);
    EXPECT_EQ(s.anchor(), doc.charCount());
    EXPECT_EQ(s.caret(), 2);
}

} // namespace
} // namespace tavrel
