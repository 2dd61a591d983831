// Always on Top on a real X server with a window manager: the window moves into the topmost
// band as the window manager reports it, without being hidden, moved or resized on the way.
#include "platform/stay_on_top.h"
#include "support/x_session.h"
#include "window_fixture.h"

#include <QAction>
#include <QTest>

namespace tavrel::test {
namespace {

// Counts the times a widget was hidden (unmapped), as Qt's flag change would do.
class HideCounter final : public QObject {
public:
    int hides = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide) {
            ++hides;
        }
        return QObject::eventFilter(watched, event);
    }
};

class XvfbOnTop : public WindowTest {};

TEST_F(XvfbOnTop, alwaysOnTopNeitherHidesNorMovesNorResizesTheWindow) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "the test program runs on "
                     << QGuiApplication::platformName().toStdString();
    }
    MainWindow& w = open();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w, 10000));
    // The window manager places and decorates the window in its own time, later on a busy
    // machine: wait until the geometry has stayed the same for half a second.
    QRect before = w.geometry();
    for (int quiet = 0, waited = 0; quiet < 500 && waited < 10000; waited += 50) {
        QTest::qWait(50);
        quiet = w.geometry() == before ? quiet + 50 : 0;
        before = w.geometry();
    }
    HideCounter counter;
    w.installEventFilter(&counter);
    ASSERT_FALSE(platform::staysOnTopOnScreen(w));

    w.action("AlwaysonTop1")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform::staysOnTopOnScreen(w); }, 10000));
    QTest::qWait(200);
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(w.geometry(), before);
    EXPECT_TRUE(w.options().onTop);

    w.action("AlwaysonTop1")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !platform::staysOnTopOnScreen(w); }, 10000));
    EXPECT_EQ(counter.hides, 0);
    EXPECT_EQ(w.geometry(), before);
}

} // namespace
} // namespace tavrel::test
