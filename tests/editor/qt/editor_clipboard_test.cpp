// Clipboard commands of the editor control: column blocks and their marker, padding when a
// block is pasted, the plain-clipboard option, undo steps of pastes, code page round trips
// and the built-in popup menu.
#include <QClipboard>
#include <QMenu>
#include <QMimeData>

#include <gtest/gtest.h>

#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

using test::key;
using test::makeEditor;
using test::textOf;

const EditorOptions kBlocks = kDefaultEditorOptions | eoBlockSelection;

QByteArray marker() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime != nullptr ? mime->data(QString::fromLatin1(kColumnBlockMimeType)) : QByteArray();
}

TEST(EditorClipboard, blockCopyGivesTheColumnsOfEachRowAndTheMarker) {
    auto editor = makeEditor("abcd\r\nef", {.options = kBlocks});
    editor->engine().setBlockSelection(1, 7, 1, 3);
    editor->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bc\r\nf\r\n"));
    EXPECT_EQ(marker(), QByteArray(1, 2));

    // A stream copy carries no marker.
    editor->engine().select(0, 2);
    editor->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("ab"));
    EXPECT_TRUE(marker().isEmpty());
}

TEST(EditorClipboard, blockPastePadsShortParagraphsAndAppendsMissingOnesInOneStep) {
    auto source = makeEditor("XY\r\nZW\r\nUV", {.options = kBlocks});
    source->engine().setBlockSelection(0, 10, 0, 2);
    source->copyToClipboard();

    auto editor = makeEditor("abcdef\r\nab", {.options = kBlocks});
    editor->engine().setSelStart(4);
    editor->pasteFromClipboard();
    EXPECT_EQ(textOf(*editor), "abcdXYef\r\nab  ZW\r\n    UV");
    editor->engine().undo();
    EXPECT_EQ(textOf(*editor), "abcdef\r\nab");

    // Without the block option the same clipboard pastes as plain text.
    auto plain = makeEditor("abcdef");
    plain->engine().setSelStart(3);
    plain->pasteFromClipboard();
    EXPECT_EQ(textOf(*plain), "abcXY\r\nZW\r\nUV\r\ndef");
}

TEST(EditorClipboard, plainClipboardDropsTheFormatCodes) {
    auto editor = makeEditor(std::string("a\x03"
                                         "b\x15"
                                         "c\x01"),
                             {.options = kDefaultEditorOptions | eoPlainClipboard});
    editor->engine().selectAll();
    editor->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc"));

    auto keeps = makeEditor(std::string("a\x03"
                                        "b"));
    keeps->engine().selectAll();
    keeps->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("a\u0003b"));
}

// A NUL goes to the clipboard as the space it is drawn as, in both clipboard forms: other
// programs would take a U+0000 for the end of the text and lose the rest of the copy.
TEST(EditorClipboard, aNulIsCopiedAsTheBlankItIsDrawnAsAndTheRestFollows) {
    for (const bool glyphs : {false, true}) {
        auto editor = makeEditor(std::string("\0\0ab\0\r\ncd\0", 10));
        editor->setCopyGlyphs(glyphs);
        editor->engine().selectAll();
        editor->copyToClipboard();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("  ab \r\ncd ")) << glyphs;
    }
}

TEST(EditorClipboard, twoPastesInARowAreTwoUndoSteps) {
    QGuiApplication::clipboard()->setText(QStringLiteral("xy"));
    auto editor = makeEditor("ab");
    editor->engine().setSelStart(2);
    editor->pasteFromClipboard();
    editor->pasteFromClipboard();
    test::type(*editor, "z"); // typing after a paste is a step of its own too
    EXPECT_EQ(textOf(*editor), "abxyxyz");
    editor->engine().undo();
    EXPECT_EQ(textOf(*editor), "abxyxy");
    editor->engine().undo();
    EXPECT_EQ(textOf(*editor), "abxy");
    editor->engine().undo();
    EXPECT_EQ(textOf(*editor), "ab");
}

TEST(EditorClipboard, everyByteSurvivesCopyAndPaste) {
    std::string all;
    for (int b = 32; b < 256; ++b) {
        if (b != 127) {
            all.push_back(static_cast<char>(b));
        }
    }
    auto editor = makeEditor(all);
    editor->engine().selectAll();
    key(*editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().at(0x80 - 33), QChar(0x20AC)); // €
    key(*editor, Qt::Key_End, Qt::ControlModifier);
    key(*editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(textOf(*editor), all + all);
    // Characters the code page lacks arrive as their best fit, or as '?' without one: the
    // same table as the UTF-8 to Charset command.
    QGuiApplication::clipboard()->setText(QString::fromUtf8("a\u0151b\u4E2D"));
    editor->pasteFromClipboard();
    EXPECT_EQ(textOf(*editor), all + all + "aob?");
}

TEST(EditorClipboard, cutAndShiftDeleteRemoveTheSelection) {
    auto editor = makeEditor("hello world");
    editor->engine().select(0, 6);
    key(*editor, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(textOf(*editor), "world");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello "));
    editor->engine().select(0, 2);
    key(*editor, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(textOf(*editor), "rld");
    key(*editor, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(textOf(*editor), "world");
}

TEST(EditorClipboard, builtInMenuHasItsFixedCaptionsAndEnablesByState) {
    auto editor = makeEditor("abc");
    QMenu* menu = editor->builtInPopupMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions()) {
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(captions,
              (QStringList{"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "-", "&Select all"}));
    const QList<QAction*> items = menu->actions();
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(items[0]->isEnabled()); // nothing to undo
    EXPECT_FALSE(items[3]->isEnabled()); // nothing selected
    EXPECT_FALSE(items[4]->isEnabled());

    editor->engine().select(0, 1);
    editor->builtInPopupMenu();
    EXPECT_TRUE(items[3]->isEnabled());
    items[3]->trigger(); // Cut
    EXPECT_EQ(textOf(*editor), "bc");
    editor->builtInPopupMenu();
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_TRUE(items[5]->isEnabled());
    items[0]->trigger(); // Undo
    EXPECT_EQ(textOf(*editor), "abc");
    editor->builtInPopupMenu();
    EXPECT_TRUE(items[1]->isEnabled());

    editor->setReadOnly(true);
    editor->engine().select(0, 1);
    editor->builtInPopupMenu();
    EXPECT_FALSE(items[3]->isEnabled());
    EXPECT_FALSE(items[5]->isEnabled());
    EXPECT_TRUE(items[4]->isEnabled());

    editor->setOptions(kDefaultEditorOptions | eoNoDefaultPopup);
    EXPECT_EQ(editor->builtInPopupMenu(), nullptr);
}

} // namespace
} // namespace tavrel

namespace tavrel {
namespace {

TEST(EditorClipboard, copyingGlyphsKeepsColumnBlocksAndTheirBytes) {
    auto editor = makeEditor("\xDB\xB0x\r\n\xC9\xCDy", {.options = kBlocks});
    editor->setCopyGlyphs(true);
    editor->engine().setBlockSelection(0, 10, 0, 2);
    editor->copyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QString::fromUtf8("\u2588\u2591\r\n\u2554\u2550\r\n"));
    EXPECT_EQ(marker(), QByteArray(1, 2));

    auto target = makeEditor("ab\r\ncd", {.options = kBlocks});
    target->setCopyGlyphs(true);
    target->engine().setSelStart(1);
    target->pasteFromClipboard();
    EXPECT_EQ(textOf(*target), "a\xDB\xB0"
                               "b\r\nc\xC9\xCD"
                               "d");

    // The same clipboard in an editor without the option pastes the characters' best fits.
    auto plain = makeEditor("");
    plain->pasteFromClipboard();
    EXPECT_EQ(textOf(*plain), "??\r\n??\r\n");
}

} // namespace
} // namespace tavrel
