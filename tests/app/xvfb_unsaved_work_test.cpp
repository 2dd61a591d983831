// The built program on an X server with a window manager (CTest runs this suite through
// tests/support/with-x-session as tavrel_app_xvfb_unsaved_work), driven as a user drives it:
// clicks and keys through xdotool, the questions answered by keys. A save that fails or is
// cancelled after Yes must keep the window and the text; Undo right after the start must
// not give Save an empty text to write over the file.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include <sys/stat.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The visible windows whose title matches the pattern.
QStringList windowsNamed(const QString& pattern) {
    const auto found = xdotool({"search", "--onlyvisible", "--name", pattern}, 5000);
    if (!found || found->isEmpty()) {
        return {};
    }
    return found->split(QLatin1Char('\n'));
}

// Waits for a visible window matching the pattern other than `known` (a dialog titled like
// the main window).
std::optional<QString> waitForOtherWindow(const QString& pattern, const QString& known) {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const QString& id : windowsNamed(pattern)) {
            if (id != known) {
                return id;
            }
        }
        std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
}

// The program as the user runs it: a copy installed in portable mode, on the X server.
class XvfbUnsavedWork : public ::testing::Test {
protected:
    Installation install;
    QProcess program;
    QString mainWindow;

    void SetUp() override {
        if (const std::string missing = xSessionMissing(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        writeFile(install.folder + "usb.dat", "");
    }

    void TearDown() override {
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            program.waitForFinished();
        }
    }

    // Starts the program and waits for its main window, whose title is given as a pattern.
    void start(const QStringList& arguments, const QString& title) {
        QProcessEnvironment environment = xProgramEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           QString::fromStdString(install.configHome));
        program.setProcessEnvironment(environment);
        program.start(QString::fromStdString(install.program), arguments);
        ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
        mainWindow = waitForWindow(title);
        ASSERT_FALSE(mainWindow.isEmpty())
            << "the window did not appear: " << program.readAllStandardError().toStdString();
    }

    // Clicks into the text and types, as a user starts editing.
    void typeIntoTheText(const QString& text) {
        ASSERT_TRUE(xdotool({"windowactivate", "--sync", mainWindow}));
        ASSERT_TRUE(clickAt(mainWindow, 60, 60));
        ASSERT_TRUE(typeText(mainWindow, text));
    }

    // Answers the next dialog with this title by keys.
    void answer(const QString& title, const QStringList& keys) {
        const auto dialog = waitForOtherWindow(title, mainWindow);
        ASSERT_TRUE(dialog.has_value()) << "no dialog titled " << title.toStdString() << ": "
                                        << program.readAllStandardError().toStdString();
        std::this_thread::sleep_for(200ms); // the toolkit takes the focus after the map
        ASSERT_TRUE(sendKeys(*dialog, keys));
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
    ASSERT_TRUE(sendKeys(mainWindow, {"alt+x"}));   // the Exit button
    answer(QStringLiteral("^Tavrel$"), {"Return"}); // the question's default: Yes
    answer(QStringLiteral("^Error$"), {"Return"});  // "The file could not be saved."
    expectStillOpen();
    EXPECT_EQ(readFile(path), "protected text\r\n");
    EXPECT_FALSE(fs::exists(install.folder + "Tavrel.ini")) << "the close handler ran";
}

TEST_F(XvfbUnsavedWork, yesThenEscapeInSaveAsKeepsTheUnnamedDocument) {
    start({}, QStringLiteral("^Tavrel$"));
    typeIntoTheText(QStringLiteral("draft"));
    ASSERT_TRUE(sendKeys(mainWindow, {"alt+x"}));
    answer(QStringLiteral("^Tavrel$"), {"Return"}); // Yes
    answer(QStringLiteral("^Save As$"), {"Escape"});
    expectStillOpen();
    EXPECT_FALSE(fs::exists(install.folder + "Tavrel.ini")) << "the close handler ran";
}

TEST_F(XvfbUnsavedWork, undoAndSaveRightAfterStartingLeaveTheFileAsItWas) {
    const std::string path = install.root / "b.txt";
    writeFile(path, "text of B\r\n");
    start({QString::fromStdString(path)}, QStringLiteral("^Tavrel - "));
    ASSERT_TRUE(sendKeys(mainWindow, {"ctrl+z", "ctrl+s"}));
    std::this_thread::sleep_for(1s);
    EXPECT_EQ(readFile(path), "text of B\r\n");
    // Nothing changed, so Exit closes without a question.
    ASSERT_TRUE(sendKeys(mainWindow, {"alt+x"}));
    EXPECT_TRUE(program.waitForFinished(20000))
        << "the window did not close: " << program.readAllStandardError().toStdString();
    EXPECT_EQ(readFile(path), "text of B\r\n");
}

// "tavrel missing.nfo" says it could not load the file, then shows the empty window.
TEST_F(XvfbUnsavedWork, aMissingFileOnTheCommandLineIsToldBeforeTheEmptyWindow) {
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program),
                  {QString::fromStdString(install.root / "missing.nfo")});
    ASSERT_TRUE(program.waitForStarted(10000));
    // The box comes first, titled like the window will be; the window waits for its answer.
    const QString box = waitForWindow(QStringLiteral("^Tavrel$"));
    ASSERT_FALSE(box.isEmpty()) << program.readAllStandardError().toStdString();
    EXPECT_EQ(windowsNamed(QStringLiteral("^Tavrel")).size(), 1);
    ASSERT_TRUE(sendKeys(box, {"Return"}));
    const auto window = waitForOtherWindow(QStringLiteral("^Tavrel$"), box);
    EXPECT_TRUE(window.has_value()) << "no window after the message";
    EXPECT_TRUE(program.state() == QProcess::Running);
}

} // namespace
} // namespace tavrel::test
