// The editor control's keyboard, driven by QTest key events: caret movement and its pixel
// column memory, selections and column blocks, Enter, Tab, deleting and the command keys.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

using test::key;
using test::makeEditor;
using test::textOf;
using test::type;

// A NUL is a cell like any other: the caret steps over it one at a time, End goes past a
// run of them, Shift selects them, and the text after them is found.
TEST(EditorKeys, nulBytesAreCellsLikeAnyOther) {
    using namespace std::string_literals;
    auto editor = makeEditor("\0\0art\0\r\nnext\0"s);
    TextEngine& e = editor->engine();
    key(*editor, Qt::Key_Right);
    EXPECT_EQ(e.selection().caret(), 1);
    key(*editor, Qt::Key_End);
    EXPECT_EQ(e.selection().caret(), 6);
    key(*editor, Qt::Key_Left, Qt::ShiftModifier);
    key(*editor, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(e.selText(), "t\0"s);
    key(*editor, Qt::Key_Down);
    key(*editor, Qt::Key_End);
    EXPECT_EQ(e.selection().caret(), 13);

    e.setSelStart(0);
    ASSERT_TRUE(e.searchText("next", true, false, false, false));
    EXPECT_EQ(e.selection().caret(), 12);
    e.setSelStart(0);
    ASSERT_TRUE(e.searchText("rt\0"s, true, false, false, false));
    EXPECT_EQ(e.selection().caret(), 6);
}

TEST(EditorKeys, upAndDownKeepThePixelColumnOfTheFirstMove) {
    auto editor = makeEditor("abcdefgh\r\nab\r\nabcdefgh");
    TextEngine& e = editor->engine();
    e.setSelStart(6);
    key(*editor, Qt::Key_Down);
    EXPECT_EQ(e.selection().caret(), 12); // the short line's end
    key(*editor, Qt::Key_Down);
    EXPECT_EQ(e.selection().caret(), 20); // back to column 6
    key(*editor, Qt::Key_Up);
    key(*editor, Qt::Key_Up);
    EXPECT_EQ(e.selection().caret(), 6);
    // Any other key forgets the column.
    key(*editor, Qt::Key_Down);
    key(*editor, Qt::Key_Left);
    key(*editor, Qt::Key_Down);
    EXPECT_EQ(e.selection().caret(), 15);
}

TEST(EditorKeys, aModifierPressedAloneKeepsTheColumnOfUpAndDown) {
    auto editor = makeEditor("abcdefgh\r\nab\r\nabcdefgh");
    TextEngine& e = editor->engine();
    e.setSelStart(6);
    key(*editor, Qt::Key_Down);
    ASSERT_EQ(e.selection().caret(), 12); // the short line's end
    // Reaching for Shift+Down, Ctrl or Alt and letting go again is no move.
    for (const Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_Meta}) {
        key(*editor, modifier);
    }
    key(*editor, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(e.selection().caret(), 20); // column 6 again
    EXPECT_EQ(e.selText(), "\r\nabcdef");

    // Copying is no move either; typing is an edit and starts a new column.
    e.setSelStart(6);
    key(*editor, Qt::Key_Down);
    key(*editor, Qt::Key_C, Qt::ControlModifier);
    key(*editor, Qt::Key_Down);
    EXPECT_EQ(e.selection().caret(), 20);
    key(*editor, Qt::Key_Up);
    type(*editor, "x"); // "ab" becomes "abx", the caret at column 3
    key(*editor, Qt::Key_Down);
    EXPECT_EQ(e.selection().caret(), 18); // the next line starts at 15 now
}

TEST(EditorKeys, downVisitsEveryDisplayLineWhileFormattingIsUnfinished) {
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda\r\n";
    }
    auto editor = makeEditor(text, {.wordWrap = true, .width = 200});
    TextEngine& e = editor->engine();
    e.setSelStart(0);
    for (Pos expected = 1; expected < 40; ++expected) {
        key(*editor, Qt::Key_Down);
        EXPECT_EQ(e.lines().caretLine(), expected);
    }
    for (Pos expected = 38; expected >= 0; --expected) {
        key(*editor, Qt::Key_Up);
        EXPECT_EQ(e.lines().caretLine(), expected);
    }
}

TEST(EditorKeys, leftAndRightStepOverParagraphBreaks) {
    auto editor = makeEditor("ab\r\ncd");
    TextEngine& e = editor->engine();
    e.setSelStart(4);
    key(*editor, Qt::Key_Left);
    EXPECT_EQ(e.selection().caret(), 2);
    key(*editor, Qt::Key_Right);
    EXPECT_EQ(e.selection().caret(), 4);
    key(*editor, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(e.selection().caret(), 6);
    key(*editor, Qt::Key_Right);
    EXPECT_EQ(e.selection().caret(), 6);
    key(*editor, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(e.selection().caret(), 0);
}

TEST(EditorKeys, shiftExtendsFromTheAnchorAndCtrlMovesByWords) {
    auto editor = makeEditor("one two three");
    TextEngine& e = editor->engine();
    key(*editor, Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(e.selText(), "one ");
    key(*editor, Qt::Key_Right, Qt::ShiftModifier);
    key(*editor, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(e.selText(), "one tw");
    EXPECT_EQ(e.selection().length(), -6);
    key(*editor, Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(e.selText(), "one ");
}

TEST(EditorKeys, altShiftArrowsMakeAColumnBlockOnlyWithoutWordWrap) {
    auto editor =
        makeEditor("abcd\r\nef\r\nghij", {.options = kDefaultEditorOptions | eoBlockSelection});
    TextEngine& e = editor->engine();
    e.setSelStart(1);
    const auto altShift = Qt::AltModifier | Qt::ShiftModifier;
    key(*editor, Qt::Key_Right, altShift);
    key(*editor, Qt::Key_Right, altShift);
    key(*editor, Qt::Key_Down, altShift);
    ASSERT_TRUE(e.selection().isBlock());
    EXPECT_EQ(e.selText(), "bc\r\nf\r\n");
    // Only the arrows make blocks; Alt+Shift+End extends as Shift+End does.
    key(*editor, Qt::Key_End, altShift);
    EXPECT_FALSE(e.selection().isBlock());

    auto wrapped = makeEditor(
        "abcd\r\nef", {.wordWrap = true, .options = kDefaultEditorOptions | eoBlockSelection});
    wrapped->engine().setSelStart(1);
    key(*wrapped, Qt::Key_Right, altShift);
    EXPECT_FALSE(wrapped->engine().selection().isBlock());
    EXPECT_EQ(wrapped->engine().selText(), "b");
}

TEST(EditorKeys, ctrlShiftBTogglesBlockModeInWhichShiftArrowsMakeBlocks) {
    auto editor =
        makeEditor("abcd\r\nef\r\nghij", {.options = kDefaultEditorOptions | eoBlockSelection});
    TextEngine& e = editor->engine();
    QSignalSpy toggled(editor.get(), &TextEditor::blockSelectionModeChanged);
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    key(*editor, Qt::Key_B, ctrlShift);
    ASSERT_TRUE(editor->blockSelectionMode());
    EXPECT_EQ(toggled.count(), 1);
    e.setSelStart(1);
    key(*editor, Qt::Key_Right, Qt::ShiftModifier);
    key(*editor, Qt::Key_Right, Qt::ShiftModifier);
    key(*editor, Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_TRUE(e.selection().isBlock());
    EXPECT_EQ(e.selText(), "bc\r\nf\r\n");
    EXPECT_EQ(textOf(*editor), "abcd\r\nef\r\nghij"); // the key typed nothing

    key(*editor, Qt::Key_B, ctrlShift);
    EXPECT_FALSE(editor->blockSelectionMode());
    e.setSelStart(1);
    key(*editor, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_FALSE(e.selection().isBlock());

    // Without the option the key does nothing.
    auto plain = makeEditor("abcd");
    key(*plain, Qt::Key_B, ctrlShift);
    EXPECT_FALSE(plain->blockSelectionMode());
    EXPECT_EQ(textOf(*plain), "abcd");
}

TEST(EditorKeys, endKeepsTheCaretOnAWrappedLine) {
    auto editor = makeEditor("alpha beta gamma delta epsilon zeta eta theta iota kappa",
                             {.wordWrap = true, .width = 200});
    ASSERT_GT(editor->lineCount(), 2);
    const int firstLineY = editor->caretRect().y();
    key(*editor, Qt::Key_End);
    EXPECT_EQ(editor->caretRect().y(), firstLineY);
    const Pos end = editor->engine().selection().caret();
    EXPECT_EQ(end, editor->layout().knownLine(1).start);
    key(*editor, Qt::Key_Home);
    EXPECT_EQ(editor->engine().selection().caret(), 0);
    // The same position reached with Right shows at the start of the next line.
    editor->engine().setSelStart(end);
    EXPECT_EQ(editor->caretRect().y(), firstLineY + editor->lineHeight());
}

TEST(EditorKeys, pageDownScrollsAndMovesTheCaretByAPage) {
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    auto editor = makeEditor(text);
    const Pos page = editor->viewport()->height() / editor->lineHeight();
    key(*editor, Qt::Key_PageDown);
    EXPECT_EQ(editor->engine().lines().caretLine(), page);
    EXPECT_EQ(editor->topLine(), page);
    key(*editor, Qt::Key_PageUp);
    EXPECT_EQ(editor->engine().lines().caretLine(), 0);
    EXPECT_EQ(editor->topLine(), 0);
}

TEST(EditorKeys, enterCopiesTheIndentationWithAutoIndent) {
    const EditorOptions indent = kDefaultEditorOptions | eoAutoIndent;
    auto editor = makeEditor("    abc", {.options = indent});
    editor->engine().setSelStart(7);
    key(*editor, Qt::Key_Return);
    EXPECT_EQ(textOf(*editor), "    abc\r\n    ");

    // No more indentation than the caret's column.
    auto deep = makeEditor("        x", {.options = indent});
    deep->engine().setSelStart(3);
    key(*deep, Qt::Key_Return);
    EXPECT_EQ(textOf(*deep), "   \r\n        x");

    auto plain = makeEditor("    abc");
    plain->engine().setSelStart(7);
    key(*plain, Qt::Key_Return);
    EXPECT_EQ(textOf(*plain), "    abc\r\n");
}

TEST(EditorKeys, enterInOverwriteModeMovesToTheNextLineOrAddsOne) {
    auto editor = makeEditor("ab\r\ncd");
    editor->setOverwrite(true);
    key(*editor, Qt::Key_Return);
    EXPECT_EQ(editor->engine().selection().caret(), 4);
    EXPECT_EQ(textOf(*editor), "ab\r\ncd");
    key(*editor, Qt::Key_Return);
    EXPECT_EQ(textOf(*editor), "ab\r\ncd\r\n");
}

TEST(EditorKeys, smartTabAlignsWithTheNextWordAbove) {
    const EditorOptions smart = kDefaultEditorOptions | eoSmartTabs;
    auto editor = makeEditor("int  x\r\nabc", {.options = smart});
    editor->engine().setSelStart(11);
    key(*editor, Qt::Key_Tab);
    EXPECT_EQ(textOf(*editor), "int  x\r\nabc  ");

    auto shorter = makeEditor("ab\r\nabc", {.options = smart});
    shorter->engine().setSelStart(7);
    key(*shorter, Qt::Key_Tab);
    EXPECT_EQ(textOf(*shorter), "ab\r\nabc");

    auto wrapped = makeEditor("int  x\r\nabc", {.wordWrap = true, .options = smart});
    wrapped->engine().setSelStart(11);
    key(*wrapped, Qt::Key_Tab);
    EXPECT_EQ(textOf(*wrapped), "int  x\r\nabc\t");
}

TEST(EditorKeys, shiftTabInsertsWhatTabInserts) {
    auto plain = makeEditor("ab");
    plain->engine().setSelStart(1);
    key(*plain, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(textOf(*plain), "a\tb");
    EXPECT_TRUE(plain->hasFocus());

    // With smart tabs both align with the next word of the longer line above.
    auto smart = makeEditor("int  x\r\n", {.options = kDefaultEditorOptions | eoSmartTabs});
    smart->engine().setSelStart(smart->engine().charCount());
    key(*smart, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(textOf(*smart), "int  x\r\n     ");
}

TEST(EditorKeys, backspaceAndDeleteJoinParagraphsAndCtrlTakesWords) {
    auto editor = makeEditor("ab\r\ncd");
    editor->engine().setSelStart(4);
    key(*editor, Qt::Key_Backspace);
    EXPECT_EQ(textOf(*editor), "abcd");

    auto del = makeEditor("ab\r\ncd");
    del->engine().setSelStart(2);
    key(*del, Qt::Key_Delete);
    EXPECT_EQ(textOf(*del), "abcd");

    auto words = makeEditor("one two");
    words->engine().setSelStart(7);
    key(*words, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(textOf(*words), "one ");

    // Three backspaces are three undo steps.
    auto steps = makeEditor("abcdef");
    steps->engine().setSelStart(6);
    for (int i = 0; i < 3; ++i) {
        key(*steps, Qt::Key_Backspace);
    }
    key(*steps, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(textOf(*steps), "abcd");
}

TEST(EditorKeys, insertTogglesOverwriteWhichReplacesTheNextCharacter) {
    auto editor = makeEditor("abc");
    QSignalSpy style(editor.get(), &TextEditor::styleChanged);
    key(*editor, Qt::Key_Insert);
    EXPECT_TRUE(editor->overwrite());
    EXPECT_EQ(style.count(), 1);
    type(*editor, "XY");
    EXPECT_EQ(textOf(*editor), "XYc");
    key(*editor, Qt::Key_End);
    type(*editor, "Z");
    EXPECT_EQ(textOf(*editor), "XYcZ");
}

TEST(EditorKeys, controlKeysInsertTabAndPageBreak) {
    auto editor = makeEditor("");
    key(*editor, Qt::Key_T, Qt::ControlModifier);
    key(*editor, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(textOf(*editor), "\t\r\n\f");
    // Typed text goes in as Windows-1252 bytes.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("é€"));
    QApplication::sendEvent(editor.get(), &typed);
    EXPECT_EQ(textOf(*editor), "\t\r\n\f\xE9\x80");
}

// Typed characters become bytes of the file the document came from: Windows-1252 for a file
// of bytes; in Unicode art the code page 437 byte saved as that same character, and nothing,
// reported, for a character the file could not write back. The expected bytes are the code
// pages' own, written out by hand.
TEST(EditorKeys, typedCharactersBecomeBytesOfTheFilesForm) {
    const UnicodeForm utf8{TextEncoding::Utf8};
    const UnicodeForm utf16{TextEncoding::Utf16Be, true};
    UnicodeForm smileyAsControl = utf8; // the file held U+0001 itself, so byte 1 is saved so
    smileyAsControl.glyphForms &= ~(std::uint64_t{1} << 1);
    struct Case {
        const char* name;
        UnicodeForm form;
        const char* typed;
        std::string bytes;
        const char* refused;
    };
    // a é ░ ß → € ☺ ⌂ ♪ (the glyph of byte 13, which is a line break in the document)
    const char* art = "a\u00E9\u2591\u00DF\u2192\u20AC\u263A\u2302\u266A";
    const Case cases[] = {
        {"file of bytes", UnicodeForm{}, "a\u00E9\u2591\u00DF\u2192\u20AC", "a\xE9?\xDF?\x80", ""},
        {"UTF-8", utf8, art, "a\x82\xB0\xE1\x1A\x01\x7F", "\u20AC\u266A"},
        {"UTF-16", utf16, art, "a\x82\xB0\xE1\x1A\x01\x7F", "\u20AC\u266A"},
        {"byte 1 as its control", smileyAsControl, art, "a\x82\xB0\xE1\x1A\x7F",
         "\u20AC\u263A\u266A"},
    };
    for (const Case& c : cases) {
        for (const bool inputMethod : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (inputMethod ? ", input method" : ", key"));
            auto editor = makeEditor("");
            editor->setTypingForm(c.form);
            QSignalSpy refused(editor.get(), &TextEditor::typingRefused);
            const QString typed = QString::fromUtf8(c.typed);
            if (inputMethod) {
                QInputMethodEvent commit;
                commit.setCommitString(typed);
                QApplication::sendEvent(editor.get(), &commit);
            } else {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
                QApplication::sendEvent(editor.get(), &press);
            }
            EXPECT_EQ(textOf(*editor), c.bytes);
            QString said;
            for (const QList<QVariant>& arguments : refused) {
                said += arguments.at(0).toString();
            }
            EXPECT_EQ(said.toStdString(), c.refused);
        }
    }
    // A character refused on its own leaves the selection it was typed over.
    auto editor = makeEditor("xy");
    editor->setTypingForm(utf8);
    editor->engine().selectAll();
    QKeyEvent euro(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8("\u20AC"));
    QApplication::sendEvent(editor.get(), &euro);
    EXPECT_EQ(textOf(*editor), "xy");
    EXPECT_EQ(editor->engine().selText(), "xy");
}

TEST(EditorKeys, readOnlyEditorsOnlyMoveAndCopy) {
    auto editor = makeEditor("abc");
    editor->setReadOnly(true);
    type(*editor, "x");
    key(*editor, Qt::Key_Delete);
    key(*editor, Qt::Key_Return);
    EXPECT_EQ(textOf(*editor), "abc");
    key(*editor, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(editor->engine().selText(), "a");
}

TEST(EditorKeys, altWithALetterIsForMenusAndTypesNothing) {
    auto editor = makeEditor("abc");
    key(*editor, Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(textOf(*editor), "abc");
}

TEST(EditorKeys, keysDoNothingDuringABatch) {
    auto editor = makeEditor("abc");
    editor->engine().beginUpdate();
    type(*editor, "x");
    key(*editor, Qt::Key_Delete);
    editor->engine().endUpdate();
    EXPECT_EQ(textOf(*editor), "abc");
}

// Ctrl+E walks the document against the wrapped layout: after typing, breaks and deletes
// on a partly formatted document every paragraph must still start where the lines say.
TEST(EditorKeys, consistencyCheckPassesAfterEditingAWrappedDocument) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "the quick brown fox jumps over the lazy dog again and again\r\n";
    }
    auto editor = makeEditor(text, {.wordWrap = true, .width = 260});
    QSignalSpy errors(editor.get(), &TextEditor::consistencyError);
    editor->engine().setSelStart(100);
    type(*editor, "inserted words here ");
    key(*editor, Qt::Key_Return);
    key(*editor, Qt::Key_Backspace);
    key(*editor, Qt::Key_Backspace);
    key(*editor, Qt::Key_End, Qt::ControlModifier);
    type(*editor, "tail");
    key(*editor, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(errors.count(), 0) << (errors.isEmpty() ? "" : errors[0][0].toString().toStdString());
    EXPECT_EQ(editor->engine().consistencyCheck(), "");
}

} // namespace
} // namespace tavrel
