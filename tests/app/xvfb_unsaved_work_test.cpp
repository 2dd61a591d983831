// The built program on a real X server with a window manager (CTest runs this suite under
// xvfb-run as tavrel_app_xvfb_unsaved_work), driven as a user drives it: keys and clicks
// through xdotool, the questions answered by keys. A save that fails or is cancelled after
// Yes must keep the window and the text; Undo right after start must not empty the file.
#include "end_to_end_support.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include <sys/stat.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Runs xdotool with arguments; its output, or nothing when it failed or timed out.
std::optional<QString> xdotool(const QStringList& arguments, int timeoutMs = 20000) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(timeoutMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished();
        return std::nullopt;
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// The visible windows whose title matches the pattern.
QStringList windowsNamed(const QString& pattern) {
    const auto found = xdotool({"search", "--onlyvisible", "--name", pattern}, 5000);
    if (!found || found->isEmpty()) {
        return {};
    }
    return found->split(QLatin1Char('\n'));
}

// Waits for a visible window matching the pattern that is not one of `known`.
std::optional<QString> waitForWindow(const QString& pattern, const QStringList& known = {},
                                     std::chrono::milliseconds limit = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const QString& id : windowsNamed(pattern)) {
            if (!known.contains(id)) {
                return id;
            }
        }
        std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
}

// Gives a window the keyboard through the window manager and presses keys in it.
bool pressIn(const QString& window, const QStringList& keys) {
    if (!xdotool({"windowactivate", "--sync", window})) {
        return false;
    }
    std::this_thread::sleep_for(200ms); // the toolkit takes the focus after the map
    QStringList arguments{"key", "--clearmodifiers", "--delay", "60"};
    arguments += keys;
    return xdotool(arguments).has_value();
}

// A window manager on the display for the test's length, and the program as the user runs
// it: a copy installed in portable mode, on the real X server.
class XvfbUnsavedWork : public ::testing::Test {
protected:
    Installation install;
    QProcess windowManager;
    QProcess program;
    QString mainWindow;

    void SetUp() override {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "needs an X display; CTest runs this under xvfb-run as "
                            "tavrel_app_xvfb_unsaved_work";
        }
        for (const char* tool : {"xdotool", "openbox"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                GTEST_SKIP() << tool << " is not installed (scripts/setup installs it)";
            }
        }
        windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(windowManager.waitForStarted(10000));
        std::this_thread::sleep_for(500ms);
        writeFile(install.folder + "usb.dat", "");
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
        if (windowManager.state() != QProcess::NotRunning) {
            windowManager.terminate();
            if (!windowManager.waitForFinished(5000)) {
                windowManager.kill();
                windowManager.waitForFinished();
            }
        }
    }

    // Starts the program and waits for its main window, whose title is given as a pattern.
    void start(const QStringList& arguments, const QString& title) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (environment.contains(QStringLiteral("ASAN_OPTIONS"))) {
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                   QStringLiteral(":strict_string_checks=0"));
        }
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString(install.configHome));
        program.setProcessEnvironment(environment);
        program.start(QString::fromStdString(install.program), arguments);
        ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
        const auto window = waitForWindow(title);
        ASSERT_TRUE(window.has_value())
            << "the window did not appear: " << program.readAllStandardError().toStdString();
        mainWindow = *window;
    }

    // Clicks into the text and types, as a user starts editing.
    void typeIntoTheText(const QString& text) {
        ASSERT_TRUE(xdotool({"windowactivate", "--sync", mainWindow}));
        ASSERT_TRUE(xdotool({"mousemove", "--window", mainWindow, "60", "60", "click", "1"}));
        ASSERT_TRUE(xdotool({"type", "--delay", "60", text}));
    }

    // Answers the next dialog with this title by keys.
    void answer(const QString& title, const QStringList& keys) {
        const auto dialog = waitForWindow(title, {mainWindow});
        ASSERT_TRUE(dialog.has_value()) << "no dialog titled " << title.toStdString() << ": "
                                        << program.readAllStandardError().toStdString();
        ASSERT_TRUE(pressIn(*dialog, keys));
    }

    // The program is still running a while after the last answer, its window still there.
    void expectStillOpen() {
        EXPECT_FALSE(program.waitForFinished(2000))
            << "the program ended: " << program.readAllStandardError().toStdString();
        EXPECT_TRUE(windowsNamed(QStringLiteral("^Tavrel")).contains(mainWindow));
    }
};

TEST_F(XvfbUnsavedWork, yesWithAReadOnlyFileShowsTheErrorAndKeepsTheWindowAndTheEdit) {
    const std::string path = install.root / "protected.txt";
    writeFile(path, "protected text\r\n");
    ::chmod(path.c_str(), 0444);
    start({QString::fromStdString(path)}, QStringLiteral("^Tavrel - "));
    typeIntoTheText(QStringLiteral("typed"));
    ASSERT_TRUE(pressIn(mainWindow, {"alt+x"}));    // the Exit button
    answer(QStringLiteral("^Tavrel$"), {"Return"}); // the question's default: Yes
    answer(QStringLiteral("^Error$"), {"Return"});  // "The file could not be saved."
    expectStillOpen();
    EXPECT_EQ(readFile(path), "protected text\r\n");
    EXPECT_FALSE(fs::exists(install.folder + "Tavrel.ini")) << "the close handler ran";
}

TEST_F(XvfbUnsavedWork, yesThenEscapeInSaveAsKeepsTheUnnamedDocument) {
    start({}, QStringLiteral("^Tavrel$"));
    typeIntoTheText(QStringLiteral("draft"));
    ASSERT_TRUE(pressIn(mainWindow, {"alt+x"}));
    answer(QStringLiteral("^Tavrel$"), {"Return"}); // Yes
    answer(QStringLiteral("^Save As$"), {"Escape"});
    expectStillOpen();
    EXPECT_FALSE(fs::exists(install.folder + "Tavrel.ini")) << "the close handler ran";
}

TEST_F(XvfbUnsavedWork, undoAndSaveRightAfterStartingLeaveTheFileAsItWas) {
    const std::string path = install.root / "b.txt";
    writeFile(path, "text of B\r\n");
    start({QString::fromStdString(path)}, QStringLiteral("^Tavrel - "));
    ASSERT_TRUE(pressIn(mainWindow, {"ctrl+z", "ctrl+s"}));
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(readFile(path), "text of B\r\n");
    // Nothing changed, so Exit closes without a question.
    ASSERT_TRUE(pressIn(mainWindow, {"alt+x"}));
    EXPECT_TRUE(program.waitForFinished(20000))
        << "the window did not close: " << program.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(path), "text of B\r\n");
}

} // namespace
} // namespace tavrel::test
