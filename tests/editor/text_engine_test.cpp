// The text engine: selection, the replace operation, undo and redo, batches and views.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "editor/fake_layout.h"
#include "editor/text_engine.h"

namespace tavrel {
namespace {

void type(TextEngine& e, std::string_view text) {
    for (const char c : text) {
        e.setSelText(std::string_view(&c, 1));
    }
}

void backspace(TextEngine& e) {
    e.setSelLength(-1);
    e.setSelText(std::string_view());
}

TEST(Selection, clampsAndKeepsTheCaretAtSelStart) {
    TextEngine e;
    e.loadBytes("hello\r\nworld");
    e.setSelStart(100);
    EXPECT_EQ(e.selStart(), 12);
    e.setSelStart(3);
    e.setSelLength(-10);
    EXPECT_EQ(e.selStart(), 3);
    EXPECT_EQ(e.selLength(), -3);
    e.setSelLength(4); // 3..7: the break's middle (6) is not hit
    EXPECT_EQ(e.selText(), "lo\r\n");
    e.setSelStart(6); // between CR and LF: the paragraph's end
    EXPECT_EQ(e.selStart(), 5);

    e.selectAll();
    EXPECT_EQ(e.selStart(), e.charCount());
    EXPECT_EQ(e.selLength(), -e.charCount());
    EXPECT_EQ(e.selText(), "hello\r\nworld");
}

TEST(ReplaceOperation, typingIsOneStepUntilTheCaretMoves) {
    TextEngine e;
    type(e, "abc");
    EXPECT_EQ(e.undoList().undoCount(), 1);
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "");

    TextEngine f;
    type(f, "ab");
    f.setSelStart(f.selStart() - 1); // Left
    f.setSelStart(f.selStart() + 1); // Right
    type(f, "c");
    EXPECT_EQ(f.undoList().undoCount(), 2);
    f.undo();
    EXPECT_EQ(f.paragraphsText(), "ab");
    f.undo();
    EXPECT_EQ(f.paragraphsText(), "");
    f.redo();
    f.redo();
    EXPECT_EQ(f.paragraphsText(), "abc");
    EXPECT_FALSE(f.canRedo());
}

TEST(ReplaceOperation, eachDeletionIsItsOwnStep) {
    TextEngine e;
    e.loadBytes("abcdef");
    e.setSelStart(6);
    backspace(e);
    backspace(e);
    backspace(e);
    EXPECT_EQ(e.paragraphsText(), "abc");
    EXPECT_EQ(e.undoList().undoCount(), 3);
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "abcd");
    EXPECT_EQ(e.selStart(), 4); // after the restored text
}

TEST(ReplaceOperation, spaceLimitDropsStepsThatDoNotFit) {
    TextEngine big;
    big.setUndoMaxSpace(100000);
    big.loadBytes(std::string(200000, 'x'));
    big.setParagraphsText("new");
    EXPECT_FALSE(big.canUndo());
    EXPECT_EQ(big.paragraphsText(), "new");

    TextEngine small;
    small.setUndoMaxSpace(100000);
    small.loadBytes(std::string(1000, 'x'));
    small.setParagraphsText("new");
    ASSERT_TRUE(small.canUndo());
    EXPECT_EQ(small.undoList().usedSpace(), 1013);
    small.undo();
    EXPECT_EQ(small.paragraphsText(), std::string(1000, 'x'));
}

TEST(ReplaceOperation, spaceLimitDropsRedoThenOldestSteps) {
    TextEngine e;
    e.setUndoMaxSpace(60);
    e.loadBytes("0123456789");
    for (int i = 0; i < 6; ++i) { // each step: 1 removed byte + 13
        e.select(i, i + 1);
        e.setSelText("#");
    }
    EXPECT_EQ(e.undoList().undoCount(), 4);
    EXPECT_LE(e.undoList().usedSpace(), 60);
    while (e.canUndo()) {
        e.undo();
    }
    EXPECT_EQ(e.paragraphsText(), "##23456789");
}

TEST(ReplaceOperation, levelLimit) {
    TextEngine e;
    EXPECT_THROW(e.setUndoMaxLevel(134217728), std::invalid_argument);
    try {
        e.setUndoMaxLevel(200000000);
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "Undo set too high");
    }
    e.setUndoMaxLevel(3);
    for (int i = 0; i < 5; ++i) {
        e.setSelStart(e.charCount());
        e.setSelText("x");
    }
    EXPECT_EQ(e.undoList().undoCount(), 3);
    e.setUndoMaxLevel(0);
    e.setSelText("y");
    EXPECT_EQ(e.undoList().undoCount(), 3); // nothing recorded, nothing dropped
}

TEST(ReplaceOperation, stepsOfOneBatchUndoTogetherButTwoBatchesDoNot) {
    TextEngine e;
    e.loadBytes("abc");
    for (const char* mark : {"1", "2"}) {
        e.beginUpdate();
        e.setSelStart(0);
        e.setSelText(mark);
        e.setSelStart(e.charCount());
        e.setSelText(mark);
        e.endUpdate();
    }
    EXPECT_EQ(e.paragraphsText(), "21abc12");
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "1abc1");
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "abc");
}

TEST(ReplaceOperation, aBatchOfSeparateStepsUndoesThemOneByOne) {
    TextEngine e;
    e.loadBytes("a-a-a");
    e.beginUpdate(TextEngine::BatchUndo::EachAlone);
    for (const Pos at : {0, 3, 6}) { // each "a" as it stands after the ones before grew
        e.select(at, at + 1);
        e.setSelText("bb");
    }
    e.endUpdate();
    EXPECT_EQ(e.paragraphsText(), "bb-bb-bb");
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "bb-bb-a");
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "bb-a-a");
    // The next batch groups again.
    e.beginUpdate();
    e.select(0, 1);
    e.setSelText("x");
    e.select(3, 4);
    e.setSelText("y");
    e.endUpdate();
    EXPECT_EQ(e.paragraphsText(), "xb-y-a");
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "bb-a-a");
}

// Counts what the engine tells its observers.
struct CountingObserver final : TextObserver {
    int selections = 0;
    int ends = 0;
    void selectionChanged() override { ++selections; }
    void updateEnded() override { ++ends; }
};

TEST(ReplaceOperation, observersHearOfTheSelectionOnceWhenABatchEnds) {
    TextEngine e;
    e.loadBytes("abcdef");
    CountingObserver seen;
    e.addObserver(&seen);
    e.setSelStart(1);
    EXPECT_EQ(seen.selections, 1);
    e.beginUpdate(TextEngine::BatchUndo::EachAlone);
    e.setSelStart(2);
    e.setSelLength(2);
    e.setSelText("x");
    EXPECT_EQ(seen.selections, 1);
    EXPECT_EQ(seen.ends, 0);
    e.endUpdate();
    EXPECT_EQ(seen.selections, 2);
    EXPECT_EQ(seen.ends, 1);
    e.beginUpdate(); // nothing moved: nothing to tell
    e.endUpdate();
    EXPECT_EQ(seen.selections, 2);
    e.removeObserver(&seen);
}

TEST(ReplaceOperation, eventsFireOncePerChangeOrBatch) {
    TextEngine e;
    int changes = 0;
    e.onChange = [&] { ++changes; };
    e.onBeforeChange = [](std::string& text) {
        if (text == "tab") {
            text = "\t";
        }
    };
    e.setSelText("tab");
    EXPECT_EQ(e.paragraphsText(), "\t");
    EXPECT_EQ(changes, 1);
    e.beginUpdate();
    e.setSelText("a");
    e.setSelText("b");
    e.beginUpdate();
    e.setSelText("c");
    e.endUpdate();
    EXPECT_EQ(changes, 1);
    e.endUpdate();
    EXPECT_EQ(changes, 2);
    e.beginUpdate();
    e.setSelStart(0);
    e.endUpdate();
    EXPECT_EQ(changes, 2); // no text changed
    e.loadBytes("x");
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(e.canUndo());
}

TEST(ParagraphsView, countTextAndItemOperations) {
    TextEngine e;
    EXPECT_EQ(e.paragraphsViewCount(), 0);
    e.loadBytes("a\r\n");
    EXPECT_EQ(e.paragraphsViewCount(), 1);
    EXPECT_EQ(e.paragraphsText(), "a\r\n");
    EXPECT_EQ(e.addParagraph("b"), 1); // the empty last paragraph takes it
    EXPECT_EQ(e.paragraphsText(), "a\r\nb\r\n");
    e.setParagraph(3, "c"); // index == paragraph count appends
    EXPECT_EQ(e.paragraphsText(), "a\r\nb\r\n\r\nc");
    e.insertParagraph(0, "first");
    e.insertParagraph(99, "end");
    EXPECT_EQ(e.paragraphsText(), "first\r\na\r\nb\r\n\r\nc\r\nend");
    e.deleteParagraph(3);
    e.deleteParagraph(e.paragraphCount() - 1); // the last paragraph loses only its text
    EXPECT_EQ(e.paragraphsText(), "first\r\na\r\nb\r\nc\r\n");
    EXPECT_THROW((void)e.paragraph(99), std::out_of_range);
    EXPECT_THROW(e.deleteParagraph(-1), std::out_of_range);
    e.clearText();
    EXPECT_EQ(e.paragraphsText(), "");
    EXPECT_TRUE(e.canUndo()); // assignments are undoable
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "first\r\na\r\nb\r\nc\r\n");
}

TEST(ParagraphsView, assigningAnItemKeepsTheCaretWithItsText) {
    TextEngine e;
    e.loadBytes("one\r\ntwo\r\nthree");
    e.setSelStart(12); // inside "three"
    e.setParagraph(1, "TWO!!");
    EXPECT_EQ(e.selStart(), 14);
    e.setSelStart(6);
    e.setParagraph(1, "");
    EXPECT_EQ(e.selStart(), 5);
}

TEST(BlockSelection, copiesRowsBetweenColumnsAndDeletesThemAsOneStep) {
    TextEngine e;
    e.loadBytes("abcd\r\nef\r\n\tgh");
    e.setBlockSelection(1, 7, 1, 3);
    EXPECT_EQ(e.selText(), "bc\r\nf\r\n");
    e.setBlockSelection(0, e.charCount(), 1, 9); // the tab spans columns 0..7
    EXPECT_EQ(e.selText(), "bcd\r\nf\r\ng\r\n");
    e.setBlockSelection(1, 7, 1, 3);
    e.setSelText("XY");
    EXPECT_EQ(e.paragraphsText(), "aXYd\r\ne\r\n\tgh");
    EXPECT_FALSE(e.blockMode());
    e.undo();
    EXPECT_EQ(e.paragraphsText(), "abcd\r\nef\r\n\tgh");
}

TEST(LinesAndColumns, followTheLayout) {
    TextEngine e;
    e.loadBytes("abcdefghij\r\nxyz\r\n");
    EXPECT_EQ(e.linesCount(), 2);
    test::FixedWidthLayout layout(e.document(), 4);
    e.setLayout(&layout);
    EXPECT_EQ(e.linesCount(), 4); // abcd efgh ij xyz (+ trailing empty line not counted)
    EXPECT_EQ(e.lineText(2), "ij");
    e.setSelStart(9); // 'j'
    EXPECT_EQ(e.selLine(), 2);
    EXPECT_EQ(e.selCol(), 1);
    e.setSelCol(10);
    EXPECT_EQ(e.selStart(), 10); // clamped to the line's end
    e.setSelStart(13);
    EXPECT_EQ(e.selLine(), 3);
    EXPECT_EQ(e.paragraphOfLine(e.selLine()), 1);
    EXPECT_EQ(e.consistencyCheck(), "");
    e.setLayout(nullptr);
    EXPECT_EQ(e.selLine(), 1);
}

// The caret's display line is searched by halving among the paragraph's lines; every
// offset of a many-line paragraph must land on the line that holds it.
TEST(LinesAndColumns, caretLineInAParagraphOfManyLines) {
    TextEngine e;
    e.loadBytes("top\r\n" + std::string(1003, 'q') + "\r\nend");
    test::FixedWidthLayout layout(e.document(), 7);
    e.setLayout(&layout);
    const Pos first = e.document().paragraphStart(1);
    for (Pos offset = 0; offset <= 1003; ++offset) {
        e.setSelStart(first + offset);
        // 1003 = 143 * 7 + 2: 144 lines; the paragraph's end is on the last.
        ASSERT_EQ(e.selLine(), 1 + std::min<Pos>(offset / 7, 143)) << "offset " << offset;
        ASSERT_EQ(e.selCol(), offset - std::min<Pos>(offset / 7, 143) * 7);
    }
}

TEST(Words, separatorsDecideBoundaries) {
    TextEngine e;
    e.loadBytes("foo.bar baz\r\n  qux");
    EXPECT_EQ(e.nextWordStart(0), 4);
    EXPECT_EQ(e.nextWordStart(4), 8);
    EXPECT_EQ(e.nextWordStart(11), 15); // over the break and the indent
    EXPECT_EQ(e.previousWordStart(15), 8);
    EXPECT_EQ(e.previousWordStart(7), 4);
    EXPECT_EQ(e.wordAt(5), (std::pair<Pos, Pos>{4, 7}));
    e.setSeparators(" ");
    EXPECT_EQ(e.wordAt(5), (std::pair<Pos, Pos>{0, 7}));
    EXPECT_EQ(e.separators(), " ");
}

TEST(ConsistencyCheck, reportsABrokenLayout) {
    class Broken final : public LineLayout {
    public:
        bool wordWrap() const override { return true; }
        Pos lineCount() override { return 5; }
        Pos firstLineOf(Pos p) override { return p; }
        Pos lineCountOf(Pos) override { return 1; }
        Pos lineStart(Pos, Pos) override { return 0; }
        Pos paragraphOfLine(Pos) override { return 0; }
        void textChanged(const TextChange&) override {}
        void documentReset() override {}
    } broken;
    TextEngine e;
    e.loadBytes("a\r\nb");
    e.setLayout(&broken);
    EXPECT_EQ(e.consistencyCheck(), "Error 6.01 in " + e.versionLabel);
}

} // namespace
} // namespace tavrel
