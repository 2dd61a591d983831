// The editor control's mouse: clicks and Shift+clicks, the left margin, below the text,
// double clicks, dragging a selection or a column block, dropping dragged text (moving,
// copying, inside itself) and clicks on highlighted runs.
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

using test::makeEditor;
using test::textOf;

// The middle of character cell (column, row) of an unscrolled view.
QPoint cell(const TextEditor& editor, int column, int row) {
    const int advance = editor.glyphMetrics().spaceWidth();
    return {editor.leftMargin() + column * advance + advance / 4,
            row * editor.lineHeight() + editor.lineHeight() / 2};
}

void click(TextEditor& editor, QPoint at, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(editor.viewport(), Qt::LeftButton, mods, at);
}

TEST(EditorMouse, clicksPlaceTheCaretAndShiftExtends) {
    auto editor = makeEditor("hello\r\nworld");
    TextEngine& e = editor->engine();
    click(*editor, cell(*editor, 2, 1));
    EXPECT_EQ(e.selection().caret(), 9);
    EXPECT_EQ(e.selection().length(), 0);
    click(*editor, cell(*editor, 4, 0), Qt::ShiftModifier);
    EXPECT_EQ(e.selText(), "o\r\nwo");
    // Right of a line's end: the end of that line.
    click(*editor, cell(*editor, 40, 0));
    EXPECT_EQ(e.selection().caret(), 5);
    // Below the last line: the end of the text.
    click(*editor, cell(*editor, 1, 10));
    EXPECT_EQ(e.selection().caret(), e.charCount());
}

TEST(EditorMouse, leftMarginSelectsTheWholeLineWithItsBreak) {
    auto editor = makeEditor("hello\r\nworld\r\nagain");
    QTest::mouseClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(2, editor->lineHeight() + 2));
    EXPECT_EQ(editor->engine().selText(), "world\r\n");
}

TEST(EditorMouse, doubleClickSelectsAWord) {
    auto editor = makeEditor("one two,three");
    QTest::mouseDClick(editor->viewport(), Qt::LeftButton, Qt::NoModifier, cell(*editor, 5, 0));
    EXPECT_EQ(editor->engine().selText(), "two");
}

TEST(EditorMouse, draggingSelectsAndAltDraggingMakesAColumnBlock) {
    auto editor =
        makeEditor("abcdef\r\nab\r\nabcdef", {.options = kDefaultEditorOptions | eoBlockSelection});
    QWidget* view = editor->viewport();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 1, 0));
    QTest::mouseMove(view, cell(*editor, 3, 2));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 3, 2));
    EXPECT_EQ(editor->engine().selText(), "bcdef\r\nab\r\nabc");

    editor->engine().setSelStart(0);
    const int advance = editor->glyphMetrics().spaceWidth();
    const QPoint from(editor->leftMargin() + 1 * advance, editor->lineHeight() / 2);
    const QPoint to(editor->leftMargin() + 4 * advance, 2 * editor->lineHeight() + 2);
    QTest::mousePress(view, Qt::LeftButton, Qt::AltModifier, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::AltModifier, to);
    ASSERT_TRUE(editor->engine().selection().isBlock());
    EXPECT_EQ(editor->engine().selection().blockLowColumn(), 1);
    EXPECT_EQ(editor->engine().selection().blockHighColumn(), 4);
    EXPECT_EQ(editor->engine().selText(), "bcd\r\nb\r\nbcd\r\n");
}

TEST(EditorMouse, altShiftDragAndDragInBlockModeMakeColumnBlocks) {
    auto editor =
        makeEditor("abcdef\r\nab\r\nabcdef", {.options = kDefaultEditorOptions | eoBlockSelection});
    QWidget* view = editor->viewport();
    const int advance = editor->glyphMetrics().spaceWidth();
    const QPoint from(editor->leftMargin() + 1 * advance, editor->lineHeight() / 2);
    const QPoint to(editor->leftMargin() + 4 * advance, 2 * editor->lineHeight() + 2);
    const auto altShift = Qt::AltModifier | Qt::ShiftModifier;
    QTest::mousePress(view, Qt::LeftButton, altShift, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, altShift, to);
    ASSERT_TRUE(editor->engine().selection().isBlock());
    EXPECT_EQ(editor->engine().selText(), "bcd\r\nb\r\nbcd\r\n");

    editor->engine().setSelStart(0);
    editor->setBlockSelectionMode(true);
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(view, to);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_TRUE(editor->engine().selection().isBlock());
    EXPECT_EQ(editor->engine().selText(), "bcd\r\nb\r\nbcd\r\n");
}

TEST(EditorMouse, aTripleClickSelectsTheParagraphWithItsBreak) {
    auto editor = makeEditor("one two\r\nthree four five\r\nsix");
    QWidget* view = editor->viewport();
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 7, 1));
    ASSERT_EQ(editor->engine().selText(), "four");
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 7, 1));
    EXPECT_EQ(editor->engine().selText(), "three four five\r\n");
    // The last paragraph has no break to take.
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 1, 2));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 1, 2));
    EXPECT_EQ(editor->engine().selText(), "six");
    // A click somewhere else after a double click is an ordinary click.
    QTest::mouseDClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 1, 0));
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 5, 1));
    EXPECT_EQ(editor->engine().selection().length(), 0);
    EXPECT_EQ(editor->engine().selection().caret(), 14);
}

TEST(EditorMouse, droppingMovesOrCopiesTheSelection) {
    auto editor = makeEditor("abc def ghi");
    TextEngine& e = editor->engine();
    e.select(4, 8); // "def "
    editor->dropSelectionAt(11, false);
    EXPECT_EQ(textOf(*editor), "abc ghidef ");
    EXPECT_EQ(e.selText(), "def ");
    e.undo();
    EXPECT_EQ(textOf(*editor), "abc def ghi"); // one step

    e.select(0, 4); // "abc "
    editor->dropSelectionAt(8, true);
    EXPECT_EQ(textOf(*editor), "abc def abc ghi");
    EXPECT_EQ(e.selText(), "abc ");
}

TEST(EditorMouse, droppingInsideTheSelectionOnlyMovesTheCaret) {
    auto editor = makeEditor("abc def ghi");
    QSignalSpy moved(editor.get(), &TextEditor::selectionMoved);
    editor->engine().select(4, 8);
    editor->dropSelectionAt(6, false);
    EXPECT_EQ(textOf(*editor), "abc def ghi");
    EXPECT_EQ(editor->engine().selection().caret(), 6);
    EXPECT_EQ(editor->engine().selection().length(), 0);
    EXPECT_EQ(moved.count(), 1);
}

TEST(EditorMouse, pressingInsideTheSelectionAndReleasingCollapsesIt) {
    auto editor = makeEditor("abc def ghi");
    editor->engine().select(4, 8);
    click(*editor, cell(*editor, 5, 0));
    EXPECT_EQ(editor->engine().selection().caret(), 5);
    EXPECT_EQ(editor->engine().selection().length(), 0);
}

class OneRun final : public HighlightSource {
public:
    void runsOf(Pos paragraph, std::string_view, std::vector<HighlightRun>& out) override {
        if (paragraph == 0) {
            out.push_back(HighlightRun{4, 3, 0x0000FF, kNoColor, hsUnderline});
        }
    }
};

TEST(EditorMouse, clickWithoutMovingOnAHighlightedRunIsReported) {
    auto editor = makeEditor("see www here");
    OneRun runs;
    editor->setHighlightSource(&runs);
    QSignalSpy clicked(editor.get(), &TextEditor::highlightClicked);
    click(*editor, cell(*editor, 5, 0));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked[0][0].value<Pos>(), 5);
    click(*editor, cell(*editor, 1, 0));
    EXPECT_EQ(clicked.count(), 1); // not on the run
    QWidget* view = editor->viewport();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 5, 0));
    QTest::mouseMove(view, cell(*editor, 9, 0));
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, cell(*editor, 9, 0));
    EXPECT_EQ(clicked.count(), 1); // a drag is not a click
}

} // namespace
} // namespace tavrel
