// The Edit menu's rules on the engine alone: enabling, the copy routine's trimming and
// Ctrl+Y.
#include "textcmd/edit_commands.h"

#include "editor/line_layout.h"
#include "editor/text_engine.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

using namespace std::string_literals;

TEST(EditMenu, cutAndCopyNeedASelectionPasteNeedsClipboardText) {
    TextEngine e;
    e.loadBytes("abc");
    EditMenuState state = editMenuState(e, false);
    EXPECT_FALSE(state.undo);
    EXPECT_FALSE(state.redo);
    EXPECT_FALSE(state.cut);
    EXPECT_FALSE(state.copy);
    EXPECT_FALSE(state.paste);

    e.select(0, 2);
    e.setSelText("x");
    e.select(1, 0); // selected backwards
    state = editMenuState(e, true);
    EXPECT_TRUE(state.undo);
    EXPECT_FALSE(state.redo);
    EXPECT_TRUE(state.cut);
    EXPECT_TRUE(state.copy);
    EXPECT_TRUE(state.paste);

    e.undo();
    state = editMenuState(e, false);
    EXPECT_FALSE(state.undo);
    EXPECT_TRUE(state.redo);
}

TEST(EditMenu, thePopupKeepsCutAndCopyEnabled) {
    TextEngine e;
    e.loadBytes("abc");
    const EditMenuState state = popupMenuState(e, false);
    EXPECT_TRUE(state.cut);
    EXPECT_TRUE(state.copy);
    EXPECT_FALSE(state.paste);
    EXPECT_TRUE(popupMenuState(e, true).paste);
}

TEST(CopyPlan, nothingSelectedLeavesTheClipboardAlone) {
    TextEngine e;
    e.loadBytes("abc");
    e.setSelStart(2);
    EXPECT_EQ(planCopy(e, false).kind, CopyPlan::Kind::Nothing);
    EXPECT_EQ(planCopy(e, true).kind, CopyPlan::Kind::Nothing);
}

TEST(CopyPlan, untrimmedCopyIsTheEditorsOwn) {
    TextEngine e;
    e.loadBytes("a\x03z");
    e.selectAll();
    EXPECT_EQ(planCopy(e, false).kind, CopyPlan::Kind::EditorCopy);
}

TEST(CopyPlan, trimmedCopyTakesBlanksAndControlBytesOffBothEnds) {
    TextEngine e;
    e.loadBytes("  x\t\r\nnext");
    e.select(0, 6);
    const CopyPlan plan = planCopy(e, true);
    EXPECT_EQ(plan.kind, CopyPlan::Kind::PlainText);
    EXPECT_EQ(plan.text, "x");

    e.loadBytes("\x01\x1F a b\x7F \x20");
    e.selectAll();
    EXPECT_EQ(planCopy(e, true).text, "a b\x7F"); // DEL is above 0x20 and stays
}

TEST(CopyPlan, trimmedCopyKeepsTheFormatByteInside) {
    TextEngine e;
    e.loadBytes("a\x03z");
    e.selectAll();
    EXPECT_EQ(planCopy(e, true).text, "a\x03z");
}

TEST(CopyPlan, blanksOnlyGiveEmptyText) {
    TextEngine e;
    e.loadBytes(" \t \r\n ");
    e.selectAll();
    const CopyPlan plan = planCopy(e, true);
    EXPECT_EQ(plan.kind, CopyPlan::Kind::PlainText);
    EXPECT_EQ(plan.text, "");
}

TEST(CopyPlan, trimmedCopyEndsAtTheFirstNulAndSaysWhenTextWasLeftOut) {
    const struct {
        std::string bytes;
        std::string copied;
        bool endedAtNul;
    } cases[] = {
        {" ab\0cd"s, "ab", true},
        {"\0\0  art\r\n"s, "", true},
        {" ab\0 \0\r\n\t"s, "ab", false}, // only blanks after it: trimmed away anyway
        {" ab "s, "ab", false},
    };
    for (const auto& c : cases) {
        TextEngine e;
        e.loadBytes(std::string(c.bytes));
        e.selectAll();
        const CopyPlan plan = planCopy(e, true);
        EXPECT_EQ(plan.text, c.copied) << testing::PrintToString(c.bytes);
        EXPECT_EQ(plan.endedAtNul, c.endedAtNul) << testing::PrintToString(c.bytes);
    }
}

TEST(CopyPlan, trimmedColumnBlockIsTheRunBetweenItsCorners) {
    TextEngine e;
    e.loadBytes("0123456789\r\nabcdefghij\r\nKLMNOPQRST");
    // From column 2 of the first line to column 5 of the third: the rectangle would be
    // "234", "cde", "MNO"; the run is everything from the anchor to the caret.
    e.setBlockSelection(2, 24 + 5, 2, 5);
    ASSERT_TRUE(e.selection().isBlock());
    EXPECT_EQ(trimmedSelection(e), "23456789\r\nabcdefghij\r\nKLMNO");
}

TEST(CopyPlan, trimmedCopyOfABackwardSelection) {
    TextEngine e;
    e.loadBytes("  word  ");
    e.select(8, 0);
    EXPECT_EQ(planCopy(e, true).text, "word");
}

// Wraps the first paragraph into three display lines of ten characters.
class ThreeLineFirstParagraph final : public LineLayout {
public:
    explicit ThreeLineFirstParagraph(const Document& document) : document_(document) {}
    bool wordWrap() const override { return true; }
    Pos lineCount() override { return document_.paragraphCount() + 2; }
    Pos firstLineOf(Pos paragraph) override { return paragraph == 0 ? 0 : paragraph + 2; }
    Pos lineCountOf(Pos paragraph) override { return paragraph == 0 ? 3 : 1; }
    Pos lineStart(Pos paragraph, Pos subLine) override { return paragraph == 0 ? subLine * 10 : 0; }
    Pos paragraphOfLine(Pos line) override {
        const Pos p = line < 3 ? 0 : line - 2;
        return std::clamp<Pos>(p, 0, document_.paragraphCount() - 1);
    }
    void textChanged(const TextChange&) override {}
    void documentReset() override {}

private:
    const Document& document_;
};

TEST(ClearLine, emptiesTheCaretsParagraphAndKeepsItsBreak) {
    TextEngine e;
    e.loadBytes("one\r\ntwo\r\nthree");
    e.setSelStart(6);
    clearCaretLine(e);
    EXPECT_EQ(e.paragraphs().text(), "one\r\n\r\nthree");
    e.undo();
    EXPECT_EQ(e.paragraphs().text(), "one\r\ntwo\r\nthree");
}

TEST(ClearLine, withWordWrapEmptiesTheWholeParagraphOfTheDisplayLine) {
    TextEngine e;
    e.loadBytes(std::string(30, 'x') + "\r\nsecond");
    ThreeLineFirstParagraph layout(e.document());
    e.setLayout(&layout);
    e.setSelStart(25); // display line 2 of the first paragraph
    ASSERT_EQ(e.lines().caretLine(), 2);
    clearCaretLine(e);
    EXPECT_EQ(e.paragraphs().text(), "\r\nsecond");
    e.setLayout(nullptr);
}

TEST(ClearLine, anEmptyLineAfterTheLastBreakIsLeftAlone) {
    TextEngine e;
    e.loadBytes("one\r\n");
    e.setSelStart(5);
    EXPECT_NO_THROW(clearCaretLine(e));
    EXPECT_EQ(e.paragraphs().text(), "one\r\n");
    EXPECT_FALSE(e.canUndo());
}

} // namespace
} // namespace tavrel
