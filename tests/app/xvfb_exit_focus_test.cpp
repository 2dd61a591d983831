// The Exit button with the focus it gets after loading, on a real X server with a window
// manager: the keys a reader pages with still move through the text, and Space still presses
// Exit.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace tavrel::test {
namespace {

class XvfbExitFocus : public XProgramTest {
protected:
    // The upper half of the window as the X server shows it: the first lines of the text.
    QImage textPart(const QString& window) {
        return grabWindowHalf(window, scratch / "window.png", true);
    }

    // Waits up to five seconds for the text part to become `wanted` (or, with `equal`
    // false, anything but it); answers the last one seen.
    QImage waitForText(const QString& window, const QImage& wanted, bool equal) {
        QImage now;
        for (int i = 0; i < 50; ++i) {
            now = textPart(window);
            if (!now.isNull() && (now == wanted) == equal) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return now;
    }

    TempFolder scratch;
};

TEST_F(XvfbExitFocus, pageDownMovesThroughTheTextAndSpaceStillPressesExit) {
    // The window's stored size, far fewer lines than the file has; Exit takes the focus
    // after loading as it does for a new user.
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nLanguage=English\r\nAutoWidth=0\r\nAutoHeight=0\r\n");
    std::string text;
    for (int i = 1; i <= 400; ++i) {
        text += "line " + std::to_string(i) + " of a text longer than the window\r\n";
    }
    const std::string document = install.root / "long.nfo";
    writeFile(document, text);
    const QString window = startOnX(program, install, document, QStringLiteral("long\\.nfo"));
    ASSERT_FALSE(window.isEmpty()) << program.readAllStandardError().toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const QImage first = textPart(window);
    ASSERT_FALSE(first.isNull());

    ASSERT_TRUE(sendKeys(window, {"Next"}));
    const QImage paged = waitForText(window, first, false);
    EXPECT_NE(paged, first) << "PageDown left the text where it was";
    EXPECT_EQ(program.state(), QProcess::Running) << "PageDown ended the program";

    ASSERT_TRUE(sendKeys(window, {"ctrl+Home"}));
    EXPECT_EQ(waitForText(window, first, true), first) << "Ctrl+Home did not go back to the top";
    EXPECT_EQ(program.state(), QProcess::Running);

    // Space presses the focused Exit: the unchanged text closes without a question.
    ASSERT_TRUE(sendKeys(window, {"space"}));
    ASSERT_TRUE(program.waitForFinished(20000)) << "Space did not press Exit";
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace tavrel::test
