// A large file handed to the running window, on a real X server with a window manager: the
// window keeps answering keys while the file loads, shows the file's first text and the
// load's progress line, and Esc brings back the document it had and its title.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class XvfbLoading : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = xSessionMissing(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        writeFile(install.folder + "usb.dat", "");
        writeFile(install.folder + "Tavrel.ini",
                  "[Options]\r\nOneInstance=1\r\nLanguage=English\r\nAutoWidth=0\r\n"
                  "AutoHeight=0\r\n");
        fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    }

    void TearDown() override {
        for (auto& process : processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    QProcess& start(const std::string& file) {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& process = *processes.back();
        QProcessEnvironment environment = xProgramEnvironment();
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(install.configHome));
        process.setProcessEnvironment(environment);
        process.start(QString::fromStdString(install.program), {QString::fromStdString(file)});
        EXPECT_TRUE(process.waitForStarted(10000));
        return process;
    }

    // The lower half of the window as the X server shows it: where the progress line
    // appears above the button bar, away from the blinking caret on the first line. The
    // upper half, where the first lines of text are, when asked.
    QImage grab(const QString& window, bool upper = false) {
        return grabWindowHalf(window, scratch / "window.png", upper);
    }

    // About 400 MB of short Unix lines: the line-end repair and a record per line make the
    // load take seconds, while the file stays in a folder of the test's own.
    std::string bigFile() {
        const std::string path = scratch / "big.nfo";
        std::string block;
        for (int i = 0; block.size() < (1u << 20); ++i) {
            block += "line " + std::to_string(i) + " of a generated file\n";
        }
        std::ofstream out(path, std::ios::binary);
        for (std::size_t written = 0; written < (400u << 20); written += block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
        }
        return path;
    }

    Installation install;
    TempFolder runtime; // a private runtime folder for the instance channel
    TempFolder scratch; // the big file, deleted with the folder
    std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(XvfbLoading, theWindowAnswersAndShowsTheFirstTextWhileLoadingAndEscBringsBackTheOld) {
    const std::string old = install.root / "old.nfo";
    writeFile(old, "the old document\r\n");
    start(old);
    const QString window = waitForWindow(QStringLiteral("^Tavrel - .*/old\\.nfo$"));
    ASSERT_FALSE(window.isEmpty());
    std::this_thread::sleep_for(500ms); // placed by the window manager, painted
    const std::string big = bigFile();
    const QImage before = grab(window);
    const QImage textBefore = grab(window, true);
    ASSERT_FALSE(before.isNull());

    // A second start hands the file over and ends; the first window loads it.
    QProcess& later = start(big);
    ASSERT_TRUE(later.waitForFinished(15000));
    // Within a second or so the first text of the new file shows under its name while the
    // progress line is still there (the whole file takes seconds, and Esc below still
    // brings the old document back, so the load was not over).
    bool firstScreenSeen = false;
    for (int i = 0; i < 30 && !firstScreenSeen; ++i) {
        std::this_thread::sleep_for(100ms);
        const QImage now = grab(window);
        const QImage text = grab(window, true);
        firstScreenSeen = now.size() == before.size() && now != before && text != textBefore &&
                          windowTitle(window).endsWith(QStringLiteral("/big.nfo"));
    }
    ASSERT_TRUE(firstScreenSeen) << "no first text and progress line while the file was loading";

    // A key handled while loading: Ctrl+F opens the find dialog, Esc closes it again.
    ASSERT_TRUE(sendKeys(window, {"ctrl+f"}));
    const QString find = waitForWindow(QStringLiteral("^Replace$|^Find"), 10000);
    EXPECT_FALSE(find.isEmpty()) << "the window did not answer while loading";
    if (!find.isEmpty()) {
        ASSERT_TRUE(sendKeys(find, {"Escape"}));
        EXPECT_TRUE(waitForWindowGone(QStringLiteral("^Replace$|^Find"), 10000));
    }

    // Esc cancels: the old document stays, also once the worker would have finished.
    ASSERT_TRUE(sendKeys(window, {"Escape"}));
    std::this_thread::sleep_for(4s);
    EXPECT_TRUE(windowTitle(window).endsWith(QStringLiteral("/old.nfo")))
        << "the load went on, or the old title did not come back";
    EXPECT_EQ(grab(window), before) << "the old document is not shown as it was";
}

// Edited text the user declined to save stays untouched while another file loads: no
// shortcut edits or saves it behind the first screen, and no question about it comes when
// the load ends.
TEST_F(XvfbLoading, noShortcutEditsOrSavesTheDeclinedTextWhileAFileLoads) {
    writeFile(install.folder + "Tavrel.ini",
              "[Options]\r\nOneInstance=1\r\nLanguage=English\r\nAutoWidth=0\r\n"
              "AutoHeight=0\r\nExitFocus=0\r\n");
    const std::string old = install.root / "old.nfo";
    writeFile(old, "first line\r\nsecond line\r\n");
    start(old);
    const QString window = waitForWindow(QStringLiteral("^Tavrel - .*/old\\.nfo$"));
    ASSERT_FALSE(window.isEmpty());
    ASSERT_TRUE(typeText(window, QStringLiteral("Q")));
    const std::string big = bigFile();

    QProcess& later = start(big);
    ASSERT_TRUE(later.waitForFinished(15000));
    const QString question = waitForWindow(QStringLiteral("^Tavrel$"), 10000);
    ASSERT_FALSE(question.isEmpty()) << "the typing did not reach the old document";
    ASSERT_TRUE(sendKeys(question, {"alt+n"})); // declined: the file loads
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Tavrel$")));
    ASSERT_TRUE(sendKeys(window, {"ctrl+e", "ctrl+d", "ctrl+z", "ctrl+shift+z", "ctrl+s"}));
    EXPECT_EQ(readFile(old), "first line\r\nsecond line\r\n") << "saved during the load";

    // Whenever the load ends, nothing asks about the old text again.
    EXPECT_TRUE(waitForWindow(QStringLiteral("^Tavrel$"), 20000).isEmpty())
        << "the document behind the first screen was changed";
    EXPECT_TRUE(windowTitle(window).endsWith(QStringLiteral("/big.nfo")));
    EXPECT_EQ(readFile(old), "first line\r\nsecond line\r\n");
}

} // namespace
} // namespace tavrel::test
