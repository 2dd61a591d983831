// The built program on a real X server (run under xvfb-run by the CTest entry
// tavrel_app_xvfb_end_to_end): started in portable mode on a corpus file, closed as a user
// closes it, with the keyboard on the Exit button, and its settings file checked.
#include "end_to_end_support.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// Runs xdotool with arguments; its output, or nothing when it failed.
std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs = 20000) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeoutMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        tool.kill();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

TEST(XvfbEndToEnd, theExitButtonReachedByKeysClosesTheWindowAndWritesTheSettings) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "needs an X display; CTest runs this under xvfb-run as "
                        "tavrel_app_xvfb_end_to_end";
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        GTEST_SKIP() << "xdotool is not installed (scripts/setup installs it)";
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string art = (corpusDir() / "nfo/emerge.nfo").string();
    ASSERT_TRUE(fs::exists(art)) << art;

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Under AddressSanitizer: the X keyboard library hands strndup a buffer without a
    // terminator, which is allowed but trips the strict string checks; the last setting of
    // an option wins.
    if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
        environment.insert(QStringLiteral("ASAN_OPTIONS"),
                           environment.value(QStringLiteral("ASAN_OPTIONS")) +
                               QStringLiteral(":strict_string_checks=0"));
    }
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), {QString::fromStdString(art)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();

    // The window shows the file's name in its title once it has loaded it.
    const auto window = xdotool({"search", "--sync", "--onlyvisible", "--name", "^Tavrel - "});
    if (!window || window->isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    const QString id = window->split(QLatin1Char('\n')).front();
    // Without a window manager the window is given the keyboard directly. The Exit button
    // has the focus after loading (Initial Focus: Exit button), and Alt+X is its key.
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", id}));
    ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "alt+x"}));

    const bool ended = program.waitForFinished(20000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << "the window did not close: "
                       << program.readAllStandardError().toStdString();
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;

    const std::string ini = readFile(install.folder + "Tavrel.ini");
    expectSectionsInOrder(ini,
                          {"[Info]", "[Options]", "[Find]", "[Window]", "[nfo]", "[Recent Files]"});
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + art + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ExitFocus=1\r\n"), std::string::npos) << ini;
    EXPECT_FALSE(fs::exists(install.configHome)); // portable: nothing in the user's folder
}

} // namespace
} // namespace tavrel::test
