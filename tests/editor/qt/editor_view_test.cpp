// What the editor control shows: wrapping and the gutter's numbers, background formatting
// in slices, scrolling the caret into view, the scroll bars, visible blanks and the
// picture of the viewport.
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include "editor/qt/line_gutter.h"
#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

using test::finishFormatting;
using test::key;
using test::makeEditor;

QStringList gutterLabels(const LineGutter& gutter, Pos lines) {
    QStringList labels;
    for (Pos line = 0; line < lines; ++line) {
        labels << gutter.labelOf(line);
    }
    return labels;
}

TEST(EditorView, gutterNumbersDisplayLinesWithWrapAndParagraphsWithout) {
    // A paragraph that wraps into three display lines at this width, then a short one.
    const std::string text(std::string(30, 'x') + " " + std::string(30, 'y') + " " +
                           std::string(30, 'z') + "\r\nshort");
    auto editor = makeEditor(text, {.wordWrap = true, .width = 320});
    LineGutter gutter;
    gutter.setEditor(editor.get());
    finishFormatting(*editor);
    ASSERT_EQ(editor->lineCount(), 4);
    EXPECT_EQ(gutterLabels(gutter, 5), (QStringList{"1", "2", "3", "4", ""}));
    gutter.setParagraphNumbers(true);
    EXPECT_EQ(gutterLabels(gutter, 4), (QStringList{"1", "", "", "2"}));
    gutter.setParagraphNumbers(false);

    editor->setWordWrap(false);
    finishFormatting(*editor);
    EXPECT_EQ(editor->lineCount(), 2);
    EXPECT_EQ(gutterLabels(gutter, 2), (QStringList{"1", "2"}));
}

TEST(EditorView, emptyDocumentShowsOneNumberedLine) {
    auto editor = makeEditor("");
    LineGutter gutter;
    gutter.setEditor(editor.get());
    EXPECT_EQ(editor->lineCount(), 1);
    EXPECT_EQ(gutter.labelOf(0), QStringLiteral("1"));
    gutter.setIgnoreLastLineIfEmpty(true);
    EXPECT_EQ(gutter.labelOf(0), QStringLiteral("1")); // the only line stays numbered
    auto ended = makeEditor("a\r\n");
    gutter.setEditor(ended.get());
    EXPECT_EQ(gutter.labelOf(1), QString());
}

TEST(EditorView, fiveHundredCharacterWordWrapsWhereItNoLongerFits) {
    auto editor = makeEditor(std::string(500, 'w'), {.wordWrap = true, .width = 400});
    finishFormatting(*editor);
    const std::int64_t width = editor->layout().width();
    const Pos perLine = width / editor->glyphMetrics().spaceWidth();
    EXPECT_EQ(editor->lineCount(), (500 + perLine - 1) / perLine);
    EXPECT_EQ(editor->layout().knownLine(0).stop, perLine);
}

std::string wrappingParagraphs(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "a paragraph that is long enough to wrap onto a second display line here\r\n";
    }
    return text;
}

TEST(EditorView, paintingLaysOutTheLinesItShowsAndNoOthers) {
    TextEditor editor;
    editor.setEditorFont(test::testFont());
    editor.setUpdateMode(UpdateMode::OnNeed); // no slices: only painting formats
    editor.setWordWrap(true);
    editor.resize(400, 300);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    editor.engine().loadBytes(wrappingParagraphs(5000));
    editor.setVerticalOffset(2000 * editor.lineHeight()); // paragraph 2000, unformatted
    editor.repaint();
    const Pos top = editor.layout().knownParagraphOfLine(editor.topLine());
    EXPECT_EQ(top, 2000);
    const Pos visible = editor.viewport()->height() / editor.lineHeight();
    for (Pos p = top; p < top + visible / 2; ++p) {
        EXPECT_TRUE(editor.layout().isFormatted(p)) << p;
    }
    // Above the view only the caret's paragraph (0) is laid out, for placing the caret.
    EXPECT_FALSE(editor.layout().isFormatted(1));
    EXPECT_FALSE(editor.layout().isFormatted(top - 1));
    EXPECT_FALSE(editor.layout().isFormatted(top + visible + 1));
}

TEST(EditorView, backgroundSlicesFinishTheRestAndKeepTheTopParagraph) {
    // The background work is held back until the view has scrolled: one slice wraps all
    // 14 MB on a fast machine.
    auto editor = std::make_unique<TextEditor>();
    editor->setEditorFont(test::testFont());
    editor->setWordWrap(true);
    editor->setUpdateMode(UpdateMode::OnNeed);
    editor->resize(400, 500);
    editor->show();
    editor->engine().loadBytes(wrappingParagraphs(200000));
    QApplication::processEvents();
    EXPECT_TRUE(editor->layout().hasPendingWork());
    editor->setVerticalOffset(150000 * editor->lineHeight());
    const Pos top = editor->layout().knownParagraphOfLine(editor->topLine());
    editor->setUpdateMode(UpdateMode::Background);
    finishFormatting(*editor);
    EXPECT_FALSE(editor->layout().hasPendingWork());
    EXPECT_EQ(editor->lineCount(), 400001);
    // The paragraphs above gained lines; the view still shows the same one at its top.
    EXPECT_EQ(editor->layout().knownParagraphOfLine(editor->topLine()), top);
    EXPECT_GT(editor->topLine(), top);
}

TEST(EditorView, verticalScrollBarGrowsAsParagraphsAreFormatted) {
    // Built by hand so that no slice runs before the first look at the bar.
    TextEditor editor;
    editor.setEditorFont(test::testFont());
    editor.setWordWrap(true);
    editor.resize(400, 300);
    editor.engine().loadBytes(wrappingParagraphs(800)); // few enough for unscaled steps
    editor.show();
    const int before = editor.verticalScrollBar()->maximum();
    finishFormatting(editor);
    EXPECT_EQ(editor.lineCount(), 1601);
    EXPECT_EQ(editor.verticalScrollBar()->maximum() - before, 800 * editor.lineHeight());
}

TEST(EditorView, hiddenEditorsFormatOnlyOnNeed) {
    std::string text;
    for (int i = 0; i < 100; ++i) {
        text += "words words words words words words words words words words\r\n";
    }
    TextEditor editor;
    editor.setUpdateMode(UpdateMode::OnNeed);
    editor.setWordWrap(true);
    editor.resize(200, 200);
    editor.engine().loadBytes(std::string(text));
    QTest::qWait(20);
    EXPECT_TRUE(editor.layout().hasPendingWork()); // no timer did it
    // An exact question formats what it depends on.
    EXPECT_GT(editor.engine().layout().firstLineOf(50), 50);

    TextEditor immediate;
    immediate.setUpdateMode(UpdateMode::Immediate);
    immediate.setWordWrap(true);
    immediate.resize(200, 200);
    immediate.engine().loadBytes(std::string(text));
    EXPECT_FALSE(immediate.layout().hasPendingWork());
}

TEST(EditorView, scrollInViewBringsTheCaretLineIntoTheWindow) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += std::to_string(i) + "\r\n";
    }
    auto editor = makeEditor(text);
    key(*editor, Qt::Key_End, Qt::ControlModifier);
    const QRect caret = editor->caretRect();
    EXPECT_GE(caret.top(), 0);
    EXPECT_LE(caret.bottom(), editor->viewport()->height());
    key(*editor, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(editor->verticalOffset(), 0);
    EXPECT_EQ(editor->topLine(), 0);
}

TEST(EditorView, longLinesScrollSidewaysInStepsOfFiveSpacesOnlyWithoutWrap) {
    auto editor = makeEditor(std::string(400, 'x'), {.width = 300});
    const std::int64_t step = 5 * editor->glyphMetrics().spaceWidth();
    key(*editor, Qt::Key_End);
    EXPECT_GT(editor->horizontalOffset(), 0);
    EXPECT_EQ(editor->horizontalOffset() % step, 0);
    const QRect caret = editor->caretRect();
    EXPECT_GE(caret.left(), 0);
    EXPECT_LT(caret.left(), editor->viewport()->width());
    EXPECT_GT(editor->horizontalScrollBar()->maximum(), 0);

    auto wrapped = makeEditor(std::string(400, 'x'), {.wordWrap = true, .width = 300});
    key(*wrapped, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(wrapped->horizontalOffset(), 0);
    EXPECT_EQ(wrapped->horizontalScrollBar()->maximum(), 0);
}

TEST(EditorView, lineHeightIsAutomaticOrSetAndTheFontNameIsKept) {
    auto editor = makeEditor("x");
    EXPECT_EQ(editor->lineHeight(), editor->glyphMetrics().fontHeight() + 1);
    editor->setLineHeight(editor->glyphMetrics().fontHeight());
    EXPECT_EQ(editor->lineHeight(), editor->glyphMetrics().fontHeight());

    TextEditor fresh;
    EXPECT_EQ(fresh.editorFont().family(), QString::fromLatin1(kDefaultDisplayFamily));
    EXPECT_EQ(fresh.drawingFont().family(), resolveDisplayFamily(QStringLiteral("TavrelLarge")));
}

// Renders one line of the viewport and says, cell by cell, whether any pixel differs
// from the background.
std::vector<bool> inkedCells(TextEditor& editor, int row, int cells) {
    const QImage image = editor.renderViewport().convertToFormat(QImage::Format_RGB32);
    const QRgb background = editor.color().rgb();
    const int advance = editor.glyphMetrics().spaceWidth();
    std::vector<bool> inked;
    for (int c = 0; c < cells; ++c) {
        bool any = false;
        for (int y = row * editor.lineHeight(); y < (row + 1) * editor.lineHeight(); ++y) {
            for (int x = editor.leftMargin() + c * advance;
                 x < editor.leftMargin() + (c + 1) * advance; ++x) {
                any = any || image.pixel(x, y) != background;
            }
        }
        inked.push_back(any);
    }
    return inked;
}

TEST(EditorView, visibleTabShowsItsMarkThenBlanksToTheStop) {
    auto editor = makeEditor("\tx");
    editor->setShowNonPrintChars(npSpace | npTab | npReturn);
    const std::vector<bool> cells = inkedCells(*editor, 0, 10);
    EXPECT_TRUE(cells[0]); // the mark, at the tab's start
    for (int c = 1; c < 8; ++c) {
        EXPECT_FALSE(cells[c]) << "cell " << c; // the rest of the tab stays blank
    }
    EXPECT_TRUE(cells[8]); // x at the stop
    editor->setShowNonPrintChars(0);
    EXPECT_FALSE(inkedCells(*editor, 0, 1)[0]);
}

TEST(EditorView, marksShowForSpacesAndParagraphEnds) {
    auto editor = makeEditor("a b\r\nc");
    EXPECT_EQ(inkedCells(*editor, 0, 4), (std::vector<bool>{true, false, true, false}));
    editor->setShowNonPrintChars(npSpace | npTab | npReturn);
    EXPECT_EQ(inkedCells(*editor, 0, 4), (std::vector<bool>{true, true, true, true}));
    // The last paragraph has no break to mark.
    EXPECT_EQ(inkedCells(*editor, 1, 2), (std::vector<bool>{true, false}));
}

TEST(EditorView, selectionIsPaintedInTheSelectionColours) {
    auto editor = makeEditor("abcdef");
    editor->setSelectionColors(QColor(255, 0, 0), QColor(0, 255, 0));
    editor->engine().select(1, 3);
    const QImage image = editor->renderViewport();
    const int advance = editor->glyphMetrics().spaceWidth();
    const int y = editor->lineHeight() - 1; // below the letters: background only
    EXPECT_EQ(image.pixel(editor->leftMargin() + advance + 1, y), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(editor->leftMargin() + 2 * advance + 1, y), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(editor->leftMargin() + 3 * advance + 1, y), editor->color().rgb());
    EXPECT_EQ(image.size(), editor->viewport()->size());
}

TEST(EditorView, selectionTakesTheDesktopsHighlightColoursAndFollowsThem) {
    auto editor = makeEditor("abcdef");
    editor->engine().select(1, 3);
    const int advance = editor->glyphMetrics().spaceWidth();
    const int y = editor->lineHeight() - 1;
    const auto selectedPixel = [&] {
        return QColor(editor->renderViewport().pixel(editor->leftMargin() + advance + 1, y));
    };

    QPalette colors = editor->palette();
    colors.setColor(QPalette::Highlight, QColor(0x12, 0x34, 0x56));
    colors.setColor(QPalette::HighlightedText, QColor(0xFE, 0xDC, 0xBA));
    editor->setPalette(colors);
    EXPECT_EQ(selectedPixel(), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(editor->selectionTextColor(), QColor(0xFE, 0xDC, 0xBA));

    // Colours the program sets win over the palette from then on.
    editor->setSelectionColors(QColor(255, 0, 0), QColor(0, 255, 0));
    colors.setColor(QPalette::Highlight, QColor(0x65, 0x43, 0x21));
    editor->setPalette(colors);
    EXPECT_EQ(selectedPixel(), QColor(255, 0, 0));

    // A new editor starts with the application's highlight colour.
    auto fresh = makeEditor("x");
    EXPECT_EQ(fresh->selectionBackground(),
              QApplication::palette().color(QPalette::Active, QPalette::Highlight));
}

TEST(EditorView, inputMethodsAndTheKeyboardMenuAreToldTheCaretRectangle) {
    auto editor = makeEditor("hello\r\nworld");
    editor->engine().setSelStart(9);
    const QRect caret = editor->caretRect();
    ASSERT_TRUE(caret.isValid());
    const int advance = editor->glyphMetrics().spaceWidth();
    // Independently: column 2 of the second line, in the editor's coordinates (the
    // viewport sits inside the editor's frame).
    const QPoint viewportOrigin = editor->viewport()->geometry().topLeft();
    const QRectF answer = editor->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
    EXPECT_EQ(answer.toRect().left(), viewportOrigin.x() + editor->leftMargin() + 2 * advance);
    EXPECT_EQ(answer.toRect().top(), viewportOrigin.y() + editor->lineHeight());
    EXPECT_EQ(answer.toRect().height(), caret.height());
    EXPECT_TRUE(editor->inputMethodQuery(Qt::ImEnabled).toBool());
    editor->setReadOnly(true);
    EXPECT_FALSE(editor->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST(EditorView, layoutForAnotherDeviceUsesItsMetricsAndWidthUntilBackOnScreen) {
    const std::string text = "alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";
    auto editor = makeEditor(text, {.wordWrap = true, .width = 2000});
    finishFormatting(*editor);
    ASSERT_EQ(editor->lineCount(), 1);

    // A printer-like device: glyphs 30 pixels wide, a column 600 pixels wide.
    const TableGlyphMetrics printer = TableGlyphMetrics::uniform(30, 40, 10);
    editor->layoutForDevice(printer, 600);
    editor->layout().formatAll();
    EXPECT_EQ(editor->layout().knownLine(0).stop, 17); // "alpha beta gamma " fits 20 cells
    EXPECT_GT(editor->lineCount(), 3);
    // The window's width no longer decides: resizing keeps the device's column.
    editor->resize(900, 500);
    QApplication::processEvents();
    EXPECT_EQ(editor->layout().width(), 600);

    QImage page(700, 400, QImage::Format_RGB32);
    page.fill(Qt::black);
    QPainter painter(&page);
    editor->paintLines(painter, 0, QRect(50, 20, 600, 360));
    painter.end();
    EXPECT_EQ(page.pixel(10, 10), qRgb(0, 0, 0)); // outside the area: untouched
    EXPECT_EQ(page.pixel(55, 25), editor->color().rgb());

    editor->layoutForScreen();
    finishFormatting(*editor);
    EXPECT_EQ(editor->lineCount(), 1);
}

TEST(EditorView, layoutForAPaintDeviceMeasuresTheFontAtItsResolution) {
    auto editor = makeEditor("x", {.wordWrap = true});
    QImage printerLike(10, 10, QImage::Format_RGB32);
    printerLike.setDotsPerMeterX(7559); // 192 dots per inch
    printerLike.setDotsPerMeterY(7559);
    editor->layoutForDevice(printerLike, 1000);
    EXPECT_EQ(editor->layout().metrics().spaceWidth(), 2 * editor->glyphMetrics().spaceWidth());
    editor->layoutForScreen();
    EXPECT_EQ(editor->layout().metrics().spaceWidth(), editor->glyphMetrics().spaceWidth());
}

TEST(EditorView, gutterDrawsItsNumbersBesideTheirLines) {
    auto editor = makeEditor("one\r\ntwo\r\nthree");
    LineGutter gutter;
    gutter.setEditor(editor.get());
    gutter.setRightBorder(false);
    gutter.setColor(Qt::black);
    gutter.setTextColor(Qt::white);
    gutter.resize(30, editor->height());
    const QImage image = gutter.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int lh = editor->lineHeight();
    // Where the editor's text starts in the gutter's coordinates (they are not laid out
    // side by side here, so the same global origin decides).
    const int top = gutter.mapFromGlobal(editor->viewport()->mapToGlobal(QPoint(0, 0))).y();
    auto inked = [&](int line) {
        for (int y = std::max(0, top + line * lh);
             y < std::min(image.height(), top + (line + 1) * lh); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                    return true;
                }
            }
        }
        return false;
    };
    if (top < 0 || top + 4 * lh > image.height()) {
        GTEST_SKIP() << "the windows do not overlap on this platform";
    }
    EXPECT_TRUE(inked(0));
    EXPECT_TRUE(inked(2));
    EXPECT_FALSE(inked(3)); // no fourth line
}

} // namespace
} // namespace tavrel
