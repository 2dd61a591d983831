// The Format, Date/Time and Delete line commands on the editor engine alone.
#include "textcmd/format_commands.h"

#include "editor/line_layout.h"
#include "editor/text_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tavrel {
namespace {

/// Wraps the first paragraph into three display lines of ten characters; every other
/// paragraph is one display line.
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

TEST(FormatCommands, enabledExactlyWithASelection) {
    TextEngine e;
    e.loadBytes("abc");
    e.setSelStart(1);
    EXPECT_FALSE(formatItemsEnabled(e));
    e.setSelLength(1);
    EXPECT_TRUE(formatItemsEnabled(e));
    e.select(2, 1); // selected backwards
    EXPECT_TRUE(formatItemsEnabled(e));
}

TEST(FormatCommands, rewriteOnlyTheSelectionAndUndoInOneStep) {
    TextEngine e;
    e.loadBytes("keep ab   \r\n  cd keep");
    e.select(5, 17);
    joinLines(e);
    EXPECT_EQ(e.paragraphs().text(), "keep ab cd keep");
    e.undo();
    EXPECT_EQ(e.paragraphs().text(), "keep ab   \r\n  cd keep");
    EXPECT_FALSE(e.canUndo());
}

TEST(FormatCommands, caseAndCharsetCommands) {
    TextEngine e;
    e.loadBytes("stra\xDF"
                "e caf\xE9 \x80");
    e.selectAll();
    uppercase(e);
    EXPECT_EQ(e.paragraphs().text(), "STRA\xDF"
                                     "E CAF\xC9 \x80");
    e.selectAll();
    lowercase(e);
    EXPECT_EQ(e.paragraphs().text(), "stra\xDF"
                                     "e caf\xE9 \x80");
    e.selectAll();
    charsetToUtf8(e);
    EXPECT_EQ(e.paragraphs().text(), "stra\xC3\x9F"
                                     "e caf\xC3\xA9 \xE2\x82\xAC");
    e.selectAll();
    utf8ToCharset(e);
    EXPECT_EQ(e.paragraphs().text(), "stra\xDF"
                                     "e caf\xE9 \x80");
}

TEST(FormatCommands, doNothingWithoutASelection) {
    TextEngine e;
    e.loadBytes("abc");
    e.setSelStart(1);
    uppercase(e);
    joinLines(e);
    EXPECT_EQ(e.paragraphs().text(), "abc");
    EXPECT_FALSE(e.canUndo());
}

TEST(DateTime, replacesTheSelectionAndUndoRestoresIt) {
    TextEngine e;
    e.loadBytes("date: XXXX!");
    e.select(6, 10);
    insertDateTime(e, "05.03.2024 13:05:07");
    EXPECT_EQ(e.paragraphs().text(), "date: 05.03.2024 13:05:07!");
    e.undo();
    EXPECT_EQ(e.paragraphs().text(), "date: XXXX!");
    EXPECT_FALSE(e.canUndo());
}

TEST(DateTime, insertsAtTheCaretWithoutASelection) {
    TextEngine e;
    e.loadBytes("ab");
    e.setSelStart(1);
    insertDateTime(e, "05.03.2024");
    EXPECT_EQ(e.paragraphs().text(), "a05.03.2024b");
}

TEST(DeleteLine, deletesTheCaretsParagraphWithItsBreak) {
    TextEngine e;
    e.loadBytes("one\r\ntwo\r\nthree");
    e.setSelStart(6);
    deleteLine(e);
    EXPECT_EQ(e.paragraphs().text(), "one\r\nthree");
}

TEST(DeleteLine, lastParagraphLosesOnlyItsText) {
    TextEngine e;
    e.loadBytes("one\r\ntwo");
    e.setSelStart(6);
    deleteLine(e);
    EXPECT_EQ(e.paragraphs().text(), "one\r\n");
    EXPECT_EQ(e.document().paragraphCount(), 2);
}

TEST(DeleteLine, emptyDocumentStaysEmpty) {
    TextEngine e;
    e.loadBytes("");
    EXPECT_NO_THROW(deleteLine(e));
    EXPECT_EQ(e.paragraphs().text(), "");
}

TEST(DeleteLine, withWordWrapFindsTheParagraphOfTheDisplayLine) {
    TextEngine e;
    e.loadBytes(std::string(30, 'x') + "\r\nsecond\r\nthird\r\nfourth");
    ThreeLineFirstParagraph layout(e.document());
    e.setLayout(&layout);
    e.setSelStart(32 + 3); // inside "second": display line 3, paragraph 1
    ASSERT_EQ(e.lines().caretLine(), 3);
    deleteLine(e);
    EXPECT_EQ(e.paragraphs().text(), std::string(30, 'x') + "\r\nthird\r\nfourth");
    e.setLayout(nullptr);
}

} // namespace
} // namespace tavrel
