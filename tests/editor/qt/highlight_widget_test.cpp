// Highlighting in the editor control: what is painted under an address, the hand over it,
// and left and right clicks reaching the launcher with the address's text.
#include <gtest/gtest.h>

#include <QMenu>

#include "editor/url_highlighter.h"
#include "widget_test_support.h"

namespace tavrel {
namespace {

class RecordingLauncher final : public AddressLauncher {
public:
    void open(const std::string& address) override { opened.push_back(address); }
    std::vector<std::string> opened;
};

struct Highlighted {
    std::unique_ptr<TextEditor> editor;
    UrlHighlighter urls;
    RecordingLauncher launcher;

    explicit Highlighted(const std::string& text) : editor(test::makeEditor(text)) {
        urls.setLauncher(&launcher);
        editor->highlights().setAddressHighlighter(&urls);
        QApplication::processEvents();
    }

    // The middle of the character at `position`, in viewport coordinates.
    QPoint pointAt(Pos position) {
        editor->engine().setSelStart(position);
        const QRect caret = editor->caretRect();
        return {caret.left() + editor->glyphMetrics().spaceWidth() / 2, caret.center().y()};
    }
};

TEST(HighlightWidget, LeftAndRightClicksOnAnAddressLaunchItsText) {
    Highlighted h("Mail joe@host.org. or see www.a.org");
    QTest::mouseClick(h.editor->viewport(), Qt::LeftButton, {}, h.pointAt(8));
    QTest::mouseClick(h.editor->viewport(), Qt::RightButton, {}, h.pointAt(28));
    QTest::mouseClick(h.editor->viewport(), Qt::LeftButton, {}, h.pointAt(2)); // plain text
    EXPECT_EQ(h.launcher.opened, (std::vector<std::string>{"mailto:joe@host.org", "www.a.org"}));
}

TEST(HighlightWidget, ADragOverAnAddressSelectsAndLaunchesNothing) {
    Highlighted h("www.a.org");
    const QPoint from = h.pointAt(1);
    const QPoint to = h.pointAt(5);
    QTest::mousePress(h.editor->viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, h.editor->viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h.editor->viewport(), &move);
    QTest::mouseRelease(h.editor->viewport(), Qt::LeftButton, {}, to);
    EXPECT_TRUE(h.launcher.opened.empty());
    EXPECT_NE(h.editor->engine().selection().length(), 0);
}

TEST(HighlightWidget, TheMouseShowsAHandOverAnAddressOnly) {
    Highlighted h("plain www.a.org");
    const auto hover = [&](Pos position) {
        QMouseEvent move(QEvent::MouseMove, h.pointAt(position),
                         h.editor->viewport()->mapToGlobal(h.pointAt(position)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(h.editor->viewport(), &move);
        return h.editor->viewport()->cursor().shape();
    };
    EXPECT_EQ(hover(8), Qt::PointingHandCursor);
    EXPECT_EQ(hover(2), Qt::IBeamCursor);
}

// The pointer is over an address when it is over one of the address's character cells, from
// the cell's left edge to its right edge: the hand shows and a click opens it there, and
// nowhere in the cells beside it.
TEST(HighlightWidget, AnAddressIsClickableOverExactlyItsCharacterCells) {
    Highlighted h("see www.a.org here"); // the address fills cells 4 to 12
    const int advance = h.editor->glyphMetrics().spaceWidth();
    ASSERT_GE(advance, 4);
    const int y = h.editor->lineHeight() / 2;
    struct Cell {
        int column;
        bool address;
    };
    std::size_t opened = 0;
    for (const Cell c : {Cell{3, false}, Cell{4, true}, Cell{12, true}, Cell{13, false}}) {
        for (const int quarter : {1, 3}) {
            const QPoint at(h.editor->leftMargin() + c.column * advance + quarter * advance / 4, y);
            QMouseEvent move(QEvent::MouseMove, at, h.editor->viewport()->mapToGlobal(at),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(h.editor->viewport(), &move);
            EXPECT_EQ(h.editor->viewport()->cursor().shape(),
                      c.address ? Qt::PointingHandCursor : Qt::IBeamCursor)
                << "cell " << c.column << ", quarter " << quarter;
            QTest::mouseClick(h.editor->viewport(), Qt::LeftButton, {}, at);
            opened += c.address ? 1 : 0;
            EXPECT_EQ(h.launcher.opened.size(), opened)
                << "cell " << c.column << ", quarter " << quarter;
        }
    }
}

TEST(HighlightWidget, ARightClickOnAnAddressShowsNoPopupMenu) {
    Highlighted h("www.a.org plain");
    QMenu* menu = h.editor->builtInPopupMenu();
    ASSERT_NE(menu, nullptr);
    QContextMenuEvent onAddress(QContextMenuEvent::Mouse, h.pointAt(2),
                                h.editor->viewport()->mapToGlobal(h.pointAt(2)));
    QApplication::sendEvent(h.editor->viewport(), &onAddress);
    EXPECT_FALSE(menu->isVisible());
    QContextMenuEvent onText(QContextMenuEvent::Mouse, h.pointAt(12),
                             h.editor->viewport()->mapToGlobal(h.pointAt(12)));
    QApplication::sendEvent(h.editor->viewport(), &onText);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST(HighlightWidget, ARightClickOnAKeywordShowsThePopupMenuAndOpensNothing) {
    Highlighted h("nfo www.a.org");
    KeywordList& keywords = h.editor->highlights().keywords();
    keywords.addKeyword("nfo", koWholeWords, 0x0000FF, kNoColor, 0, 1, 0);
    h.editor->highlights().reapplyKeywords();
    QMenu* menu = h.editor->builtInPopupMenu();
    ASSERT_NE(menu, nullptr);
    for (const Pos at : {Pos{1}, Pos{6}}) {
        QTest::mouseClick(h.editor->viewport(), Qt::RightButton, {}, h.pointAt(at));
        QContextMenuEvent event(QContextMenuEvent::Mouse, h.pointAt(at),
                                h.editor->viewport()->mapToGlobal(h.pointAt(at)));
        QApplication::sendEvent(h.editor->viewport(), &event);
        EXPECT_EQ(menu->isVisible(), at == 1) << "at " << at;
        menu->hide();
    }
    EXPECT_EQ(h.launcher.opened, std::vector<std::string>{"www.a.org"});
}

// Counts pixels of one colour in a rectangle of an image.
int countColour(const QImage& image, const QRect& area, QRgb colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

TEST(HighlightWidget, AnAddressIsDrawnInItsColourWithAnUnbrokenUnderline) {
    Highlighted h("plain www.a.org plain");
    const QImage image = h.editor->renderViewport();
    const int cell = h.editor->glyphMetrics().spaceWidth();
    const int left = h.editor->leftMargin();
    const int lineHeight = h.editor->lineHeight();
    const QRgb blue = qRgb(0, 0, 255);
    const QRect address(left + 6 * cell, 0, 9 * cell, lineHeight);
    const QRect before(left, 0, 5 * cell, lineHeight);
    EXPECT_GT(countColour(image, address, blue), 0);
    EXPECT_EQ(countColour(image, before, blue), 0);
    // Somewhere under the text a whole row of the address's width is blue: the underline.
    bool underline = false;
    for (int y = 0; y < lineHeight && !underline; ++y) {
        underline = countColour(image, QRect(address.left(), y, address.width(), 1), blue) ==
                    address.width();
    }
    EXPECT_TRUE(underline);
    // Detached, nothing of it remains.
    h.editor->highlights().setAddressHighlighter(nullptr);
    EXPECT_EQ(countColour(h.editor->renderViewport(), address, blue), 0);
}

} // namespace
} // namespace tavrel
