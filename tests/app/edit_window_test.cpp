// The Edit menu, the popup, the buttons and the editor's clipboard habits through the main
// window offscreen: trimmed copying, Cut, enabling with an empty clipboard, auto-copy on
// release, Ctrl+Y and the Save button after typing.
#include "window_fixture.h"

#include "app/button_bar.h"
#include "app/notice_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace tavrel::test {
namespace {

using EditWindowTest = WindowTest;

QString clipboardText() {
    return QApplication::clipboard()->text();
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// A point in the left part of character cell (column, line) of an unscrolled view; far
// right of a line's text it stands for the line's end.
QPoint cell(TextEditor& editor, int column, int line) {
    const int advance = editor.glyphMetrics().spaceWidth();
    return {editor.leftMargin() + column * advance + advance / 4,
            line * editor.lineHeight() + editor.lineHeight() / 2};
}

TEST_F(EditWindowTest, trimmedCopyTakesTheBlanksOffBothEnds) {
    MainWindow& w = open(file("t.txt", "  x\t\r\nnext"));
    w.options().trim = true;
    w.editor().engine().select(0, 6);
    w.action("Copy1")->trigger();
    EXPECT_EQ(clipboardText(), "x");
}

TEST_F(EditWindowTest, theFormatByteIsDroppedByPlainCopyAndKeptByTrimmedCopy) {
    MainWindow& w = open(file("t.txt", "a\x03z"));
    w.editor().engine().selectAll();
    w.options().trim = false;
    w.buttonBar().copyButton()->click();
    EXPECT_EQ(clipboardText(), "az");
    w.options().trim = true;
    w.popupAction("Copy2")->trigger();
    EXPECT_EQ(clipboardText(), QStringLiteral("a\x03z"));
}

// The trimmed copy still ends at the first NUL, and says so; the plain copy takes every NUL
// as the blank it is drawn as.
TEST_F(EditWindowTest, aCopyOfTextWithNulBytesIsWholeOrToldWhereItEnded) {
    const std::string bytes("\0\0\0\0  GROUP PRESENTS\r\n\0 notes", 29);
    MainWindow& w = open(file("header.nfo", bytes));
    w.editor().engine().selectAll();
    w.options().trim = true;
    w.action("Copy1")->trigger();
    EXPECT_EQ(clipboardText(), "");
    EXPECT_TRUE(w.notice().isVisibleTo(&w));
    EXPECT_NE(w.notice().text().toStdString().find("first NUL"), std::string::npos)
        << w.notice().text().toStdString();

    w.notice().hide();
    w.options().trim = false;
    w.action("Copy1")->trigger();
    EXPECT_EQ(clipboardText(), QStringLiteral("      GROUP PRESENTS\r\n  notes"));
    EXPECT_FALSE(w.notice().isVisibleTo(&w));
}

TEST_F(EditWindowTest, aTrimmedColumnBlockIsTheRunBetweenItsCorners) {
    MainWindow& w = open(file("t.txt", "0123456789\r\nabcdefghij"));
    w.options().trim = true;
    w.editor().engine().setBlockSelection(2, 12 + 5, 2, 5);
    w.action("Copy1")->trigger();
    EXPECT_EQ(clipboardText(), "23456789\r\nabcde");
}

TEST_F(EditWindowTest, cutWithTrimOnCutsTheUntrimmedSelection) {
    MainWindow& w = open(file("t.txt", "[  x  ]"));
    w.options().trim = true;
    w.editor().engine().select(1, 6);
    w.action("Cut1")->trigger();
    EXPECT_EQ(text(w), "[]");
    EXPECT_EQ(clipboardText(), "  x  ");
}

TEST_F(EditWindowTest, withAnEmptyClipboardPasteItemsAreDisabledButTheButtonRuns) {
    MainWindow& w = open(file("t.txt", "abc"));
    QApplication::clipboard()->clear();
    Q_EMIT w.menu("Edit1")->aboutToShow();
    EXPECT_FALSE(w.action("Paste1")->isEnabled());
    EXPECT_FALSE(w.action("Copy1")->isEnabled());
    EXPECT_FALSE(w.action("Cut1")->isEnabled());
    Q_EMIT w.popupMenu()->aboutToShow();
    EXPECT_FALSE(w.popupAction("Paste2")->isEnabled());
    EXPECT_TRUE(w.popupAction("Copy2")->isEnabled());
    w.buttonBar().pasteButton()->click();
    EXPECT_EQ(text(w), "abc");

    QApplication::clipboard()->setText(QStringLiteral("zz"));
    w.editor().engine().select(0, 1);
    Q_EMIT w.menu("Edit1")->aboutToShow();
    EXPECT_TRUE(w.action("Paste1")->isEnabled());
    EXPECT_TRUE(w.action("Copy1")->isEnabled());
}

TEST_F(EditWindowTest, ctrlCWithoutASelectionLeavesTheClipboardAlone) {
    MainWindow& w = open(file("t.txt", "abc"));
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    w.editor().engine().setSelStart(1);
    w.action("Copy1")->trigger();
    w.buttonBar().copyButton()->click();
    EXPECT_EQ(clipboardText(), "kept");
}

TEST_F(EditWindowTest, autoCopyCopiesAMouseSelectionAtReleaseAndAPlainClickKeepsTheClipboard) {
    MainWindow& w = open(file("t.txt", "hello world\r\nsecond"));
    w.options().selectCopy = true;
    w.show();
    TextEditor& editor = w.editor();
    QApplication::clipboard()->setText(QStringLiteral("before"));
    QWidget* view = editor.viewport();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, cell(editor, 0, 0));
    QTest::mouseMove(view, cell(editor, 40, 0));
    settle();
    ASSERT_EQ(editor.engine().selText(), "hello world");
    EXPECT_EQ(clipboardText(), "before"); // not before the button is released
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, cell(editor, 40, 0));
    settle();
    EXPECT_EQ(clipboardText(), "hello world");

    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, cell(editor, 40, 1));
    settle();
    EXPECT_EQ(editor.engine().selection().length(), 0);
    EXPECT_EQ(clipboardText(), "hello world");
}

TEST_F(EditWindowTest, autoCopyFollowsAKeyboardSelectionAtEveryRelease) {
    MainWindow& w = open(file("t.txt", "abcdef"));
    w.options().selectCopy = true;
    w.show();
    TextEditor& editor = w.editor();
    editor.setFocus();
    editor.engine().setSelStart(0);
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(clipboardText(), "a");
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(clipboardText(), "ab");

    w.options().selectCopy = false;
    QTest::keyClick(&editor, Qt::Key_Right, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(clipboardText(), "ab");
}

TEST_F(EditWindowTest, ctrlYEmptiesTheCaretsLineWithAnyOtherModifier) {
    MainWindow& w = open(file("t.txt", "one\r\ntwo\r\nthree"));
    w.show();
    TextEditor& editor = w.editor();
    editor.setFocus();
    editor.engine().setSelStart(6);
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(w), "one\r\n\r\nthree");
    editor.engine().setSelStart(9);
    QTest::keyClick(&editor, Qt::Key_Y, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(text(w), "one\r\n\r\n");
    QTest::keyClick(&editor, Qt::Key_Y); // a plain Y is typed
    EXPECT_EQ(text(w), "one\r\n\r\ny");
}

TEST_F(EditWindowTest, typingEnablesSaveOnlyForANamedDocument) {
    MainWindow& named = open(file("t.txt", "abc"));
    named.show();
    EXPECT_FALSE(named.buttonBar().saveButton()->isEnabled());
    named.editor().setFocus();
    QTest::keyClicks(&named.editor(), QStringLiteral("x"));
    EXPECT_TRUE(named.isModified());
    EXPECT_TRUE(named.buttonBar().saveButton()->isEnabled());

    MainWindow& fresh = open();
    fresh.show();
    fresh.editor().setFocus();
    QTest::keyClicks(&fresh.editor(), QStringLiteral("x"));
    EXPECT_TRUE(fresh.isModified());
    EXPECT_FALSE(fresh.buttonBar().saveButton()->isEnabled());
}

TEST_F(EditWindowTest, theTwoClipboardOptionsToggleFromTheirItems) {
    MainWindow& w = open();
    EXPECT_TRUE(w.action("Trimcutcopy1")->isEnabled());
    EXPECT_TRUE(w.action("Copyeveryselectiontoclipboard1")->isEnabled());
    const bool trim = w.options().trim;
    const bool selectCopy = w.options().selectCopy;
    w.action("Trimcutcopy1")->trigger();
    w.action("Copyeveryselectiontoclipboard1")->trigger();
    EXPECT_EQ(w.options().trim, !trim);
    EXPECT_EQ(w.options().selectCopy, !selectCopy);
    Q_EMIT w.menu("Options1")->aboutToShow();
    EXPECT_EQ(w.action("Trimcutcopy1")->isChecked(), !trim);
    EXPECT_EQ(w.action("Copyeveryselectiontoclipboard1")->isChecked(), !selectCopy);
}

} // namespace
} // namespace tavrel::test
