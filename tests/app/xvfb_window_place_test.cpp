// Where the built program puts its window on a real X server with a window manager, which
// frames and places it as a desktop does: stored bounds far off the screen must still leave
// the title bar and the button bar on it, and the find dialog stays where it was left.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tavrel::test {
namespace {

// The Xvfb screen that tests/support/with-x-session starts.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// xdotool's --shell form: X=…, Y=…, WIDTH=…, HEIGHT=… (the window's own area on the screen).
std::map<QString, int> geometryOf(const QString& window) {
    std::map<QString, int> values;
    const auto text = xdotool({"getwindowgeometry", "--shell", window});
    if (!text) {
        return values;
    }
    for (const QString& line : text->split(QLatin1Char('\n'))) {
        const auto parts = line.split(QLatin1Char('='));
        if (parts.size() == 2) {
            values[parts[0]] = parts[1].toInt();
        }
    }
    return values;
}

TEST(XvfbWindowPlace, boundsStoredFarOffTheScreenKeepTitleBarAndButtonsOnIt) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nAutoWidth=0\r\n\r\n"
              "[nfo]\r\nLeft=-100000\r\nTop=-100000\r\nWidth=99999999\r\nHeight=400\r\n\r\n");
    const std::string text = install.folder + "far.nfo";
    writeFile(text, "far away\r\n");

    QProcess program;
    program.setProcessEnvironment(xProgramEnvironment());
    program.start(QString::fromStdString(install.program), {QString::fromStdString(text)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    if (id.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    const auto g = geometryOf(id);
    program.terminate();
    program.waitForFinished(10000);
    ASSERT_EQ(g.count(QStringLiteral("WIDTH")), 1u);
    const int x = g.at(QStringLiteral("X"));
    const int y = g.at(QStringLiteral("Y"));
    const int width = g.at(QStringLiteral("WIDTH"));
    const int height = g.at(QStringLiteral("HEIGHT"));
    // Room above for the title bar, and the whole width and the bottom edge (the buttons)
    // on the screen.
    EXPECT_GT(y, 0);
    EXPECT_GE(x, 0);
    EXPECT_LE(x + width, kScreenWidth);
    EXPECT_LE(y + height, kScreenHeight);
    EXPECT_GE(width, 230);
}

// The value of `key` in the settings file's section `section`, or empty.
std::string iniValue(const std::string& ini, const std::string& section, const std::string& key) {
    const std::size_t at = ini.find("[" + section + "]\r\n");
    if (at == std::string::npos) {
        return {};
    }
    const std::size_t end = ini.find("\r\n[", at);
    const std::size_t line = ini.find("\r\n" + key + "=", at);
    if (line == std::string::npos || line > end) {
        return {};
    }
    const std::size_t value = line + 3 + key.size();
    return ini.substr(value, ini.find("\r\n", value) - value);
}

// The find dialog opened and closed once in each of three runs of the program, framed by the
// window manager: it comes up where it was left, and the place written back stays the same.
TEST(XvfbWindowPlace, theFindDialogComesBackWhereItWasLeftRunAfterRun) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nExitFocus=0\r\n\r\n[Find]\r\nLeft=700\r\nTop=600\r\n");
    const std::string text = install.folder + "find.nfo";
    writeFile(text, "find me\r\n");
    std::map<QString, int> first;
    for (int run = 1; run <= 3; ++run) {
        RunningProgram program;
        const QString window = startOnX(program.process, install, text);
        ASSERT_FALSE(window.isEmpty()) << "the window did not appear: " << program.errors();
        ASSERT_TRUE(sendKeys(window, {"ctrl+f"}));
        const QString dialog = waitForWindow(QStringLiteral("^Replace$"));
        ASSERT_FALSE(dialog.isEmpty()) << "the find dialog did not appear: " << program.errors();
        const auto place = geometryOf(dialog);
        ASSERT_TRUE(sendKeys(dialog, {"Escape"}));
        ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Replace$"))) << program.errors();
        ASSERT_TRUE(sendKeys(window, {"alt+x"}));
        ASSERT_TRUE(program.process.waitForFinished(20000)) << "the window did not close";

        const std::string ini = readFile(install.folder + "Tavrel.ini");
        EXPECT_EQ(iniValue(ini, "Find", "Left"), "700") << "run " << run << "\n" << ini;
        EXPECT_EQ(iniValue(ini, "Find", "Top"), "600") << "run " << run << "\n" << ini;
        ASSERT_EQ(place.count(QStringLiteral("X")), 1u);
        if (run == 1) {
            first = place;
        }
        EXPECT_EQ(place.at(QStringLiteral("X")), first.at(QStringLiteral("X"))) << "run " << run;
        EXPECT_EQ(place.at(QStringLiteral("Y")), first.at(QStringLiteral("Y"))) << "run " << run;
    }
}

} // namespace
} // namespace tavrel::test
