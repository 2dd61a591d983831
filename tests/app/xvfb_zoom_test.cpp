// Zoom through the real window on an X server with a window manager: Ctrl+Plus (with and
// without Shift), Ctrl+Minus, Ctrl+0 and Ctrl+wheel as a user presses and turns them, the
// window widening with the text, the step the settings file keeps at exit, and art that
// keeps its lines when zoomed with word wrap on.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel::test {
namespace {

// The window's width as the X server reports it, or -1.
int windowWidth(const QString& window) {
    const auto shape = xdotool({"getwindowgeometry", "--shell", window});
    if (!shape) {
        return -1;
    }
    for (const QString& line : shape->split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("WIDTH="))) {
            return line.mid(6).toInt();
        }
    }
    return -1;
}

// Waits until the window's width is different from `before`; the new width, or `before`.
int waitForNewWidth(const QString& window, int before) {
    for (int waited = 0; waited < 10000; waited += 100) {
        const int now = windowWidth(window);
        if (now != before && now > 0) {
            return now;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return before;
}

TEST(XvfbZoom, keysAndCtrlWheelStepTheZoomAndTheStepIsKept) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string document = install.root / "art.nfo";
    writeFile(document, std::string(40, '\xDB') + "\r\n\xDF\xDC\r\n");

    RunningProgram program;
    const QString window = startOnX(program.process, install, document);
    ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();
    const int normal = waitForNewWidth(window, -1);

    // 1 -> 2 -> 3, back to 1, then 2 (Ctrl+Plus), 3 (Ctrl+= without Shift), 2 (Ctrl+Minus).
    ASSERT_TRUE(sendKeys(window, {"ctrl+plus", "ctrl+plus"}));
    const int tripled = waitForNewWidth(window, normal);
    EXPECT_GT(tripled, normal) << "the window did not widen with the text";
    ASSERT_TRUE(sendKeys(window, {"ctrl+0", "ctrl+plus", "ctrl+equal", "ctrl+minus"}));
    // Two notches of the wheel up with Ctrl held: 4.
    ASSERT_TRUE(xdotool({"mousemove", "--sync", "--window", window, "60", "60", "keydown", "ctrl",
                         "click", "4", "click", "4", "keyup", "ctrl"}));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(sendKeys(window, {"ctrl+q"}));

    ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";
    EXPECT_EQ(program.process.exitCode(), 0) << program.errors();
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    EXPECT_NE(ini.find("\r\nZoom=4\r\n"), std::string::npos) << ini;
}

// The upper half of the window after two steps of Ctrl+Plus on art wider than the screen at
// that zoom, with word wrap on or off; null when something failed.
QImage zoomedArt(bool wordWrap) {
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              std::string("[Options]\r\nWordWrap=") + (wordWrap ? "1" : "0") + "\r\n");
    std::string line;
    while (line.size() < 120) {
        line += "\xB0\xB0\xB0 \xB1\xB1\xB1 \xB2\xB2\xB2 \xDB\xDB\xDB ";
    }
    const std::string document = install.root / "wide.nfo";
    writeFile(document, line + "\r\n" + line + "\r\n");

    RunningProgram program;
    const QString window = startOnX(program.process, install, document);
    if (window.isEmpty()) {
        return {};
    }
    const int normal = waitForNewWidth(window, -1);
    if (!sendKeys(window, {"ctrl+plus", "ctrl+plus"})) {
        return {};
    }
    waitForNewWidth(window, normal);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000)); // the last resize settles
    const TempFolder scratch;
    QImage picture = grabWindowHalf(window, scratch / "window.png", true);
    sendKeys(window, {"ctrl+q"});
    program.process.waitForFinished(20000);
    return picture;
}

TEST(XvfbZoom, artKeepsItsLinesWhenZoomedWithWordWrapOn) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const QImage unwrapped = zoomedArt(false);
    const QImage wrapped = zoomedArt(true);
    ASSERT_FALSE(unwrapped.isNull());
    ASSERT_FALSE(wrapped.isNull());
    EXPECT_TRUE(wrapped == unwrapped) << "zooming broke the art's lines where wrap off keeps them";
}

} // namespace
} // namespace tavrel::test
