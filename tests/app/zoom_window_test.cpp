// Zoom on an offscreen main window: the menu items and Ctrl+wheel step the text by whole
// multiples of its cells within 1 to 8, the window follows the text's width when the size
// option is on, and the step is written to and read from the settings.
#include "window_fixture.h"

#include <QAction>
#include <QWheelEvent>

namespace tavrel::test {
namespace {

class ZoomWindowTest : public WindowTest {
protected:
    void wheel(MainWindow& w, int angle, Qt::KeyboardModifiers modifiers) {
        QWidget* viewport = w.editor().viewport();
        const QPointF at(10, 10);
        QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    }
};

TEST_F(ZoomWindowTest, itemsAndWheelStepWholeCellsWithinOneToEight) {
    MainWindow& w = open();
    w.show();
    const int advance = w.editor().glyphMetrics().spaceWidth();
    const int height = w.editor().lineHeight();
    ASSERT_EQ(w.zoom(), 1);

    w.action("ZoomIn1")->trigger();
    w.action("ZoomIn1")->trigger();
    EXPECT_EQ(w.zoom(), 3);
    EXPECT_EQ(w.editor().glyphMetrics().spaceWidth(), 3 * advance);
    EXPECT_EQ(w.editor().lineHeight(), 3 * height);
    w.action("ZoomOut1")->trigger();
    EXPECT_EQ(w.editor().lineHeight(), 2 * height);

    // Ctrl+wheel zooms and does not scroll; a plain wheel scrolls and does not zoom; half
    // notches (a touchpad) add up.
    wheel(w, 120, Qt::ControlModifier);
    EXPECT_EQ(w.zoom(), 3);
    wheel(w, 60, Qt::ControlModifier);
    EXPECT_EQ(w.zoom(), 3);
    wheel(w, 60, Qt::ControlModifier);
    EXPECT_EQ(w.zoom(), 4);
    wheel(w, -240, Qt::ControlModifier);
    EXPECT_EQ(w.zoom(), 2);
    wheel(w, -120, Qt::NoModifier);
    EXPECT_EQ(w.zoom(), 2);

    for (int i = 0; i < 10; ++i) {
        w.action("ZoomIn1")->trigger();
    }
    EXPECT_EQ(w.zoom(), 8);
    EXPECT_EQ(w.editor().glyphMetrics().spaceWidth(), 8 * advance);
    w.action("ZoomNormal1")->trigger();
    EXPECT_EQ(w.zoom(), 1);
    EXPECT_EQ(w.editor().glyphMetrics().spaceWidth(), advance);
    w.action("ZoomOut1")->trigger();
    EXPECT_EQ(w.zoom(), 1);

    // The keys: Ctrl+Plus, also without Shift (Ctrl+=), Ctrl+Minus and Ctrl+0.
    EXPECT_TRUE(w.action("ZoomIn1")->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl++"))));
    EXPECT_TRUE(w.action("ZoomIn1")->shortcuts().contains(QKeySequence(QStringLiteral("Ctrl+="))));
    EXPECT_EQ(w.action("ZoomOut1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+-")));
    EXPECT_EQ(w.action("ZoomNormal1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+0")));
}

TEST_F(ZoomWindowTest, theWindowFollowsTheTextWidthWhenTheSizeOptionIsOn) {
    MainWindow& w = open();
    w.show();
    if (w.averageCharWidth() != w.maxCharWidth()) {
        GTEST_SKIP() << "the display font in use is not fixed-pitch here";
    }
    const int charWidth = w.averageCharWidth();
    ASSERT_TRUE(w.load(file("a.nfo", std::string(40, 'x') + "\r\n\r\n")));
    EXPECT_EQ(w.width(), 40 * charWidth + 53);
    w.setZoom(2);
    EXPECT_EQ(w.width(), 40 * 2 * charWidth + 53);

    // Without the option the window keeps its size.
    w.options().autoWidth = false;
    const int before = w.width();
    w.setZoom(3);
    EXPECT_EQ(w.width(), before);
}

TEST_F(ZoomWindowTest, theStepIsStoredAndABadStoredValueIsClamped) {
    {
        MainWindow& w = open();
        EXPECT_EQ(w.options().zoom, 1);
        w.setZoom(4);
        w.writeSettings(settings);
        EXPECT_EQ(settings.readInteger("Options", "Zoom", 0), 4);
    }
    window.reset();
    MainWindow& again = open();
    EXPECT_EQ(again.zoom(), 4);
    window.reset();

    settings.writeInteger("Options", "Zoom", 99);
    EXPECT_EQ(open().zoom(), 8);
    window.reset();
    settings.writeInteger("Options", "Zoom", -3);
    MainWindow& low = open();
    EXPECT_EQ(low.zoom(), 1);
    low.writeSettings(settings);
    EXPECT_EQ(settings.readInteger("Options", "Zoom", 0), 1);
}

} // namespace
} // namespace tavrel::test
