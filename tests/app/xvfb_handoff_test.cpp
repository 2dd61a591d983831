// One window for all files, on a real X server with a window manager: the built program is
// started twice from one portable installation and the second start's file must show in
// the first window, or in a window of its own when the option is off.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

class XvfbHandoff : public ::testing::Test {
protected:
    void SetUp() override {
        if (const std::string missing = xSessionMissing(); !missing.empty()) {
            GTEST_SKIP() << missing;
        }
        writeFile(install.folder + "usb.dat", "");
        documents = install.root / "documents";
        fs::create_directories(documents);
    }

    void TearDown() override {
        for (auto& process : processes) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }

    void setOneInstance(bool on) {
        writeFile(install.folder + "Tavrel.ini",
                  std::string("[Options]\r\nOneInstance=") + (on ? "1" : "0") + "\r\n");
    }

    std::string document(const std::string& name, const std::string& text) {
        const std::string path = documents + "/" + name;
        writeFile(path, text);
        return path;
    }

    QProcess& start(const QStringList& arguments, const QString& program = {}) {
        processes.push_back(std::make_unique<QProcess>());
        QProcess& process = *processes.back();
        QProcessEnvironment environment = xProgramEnvironment();
        if (cLocale) {
            // As in a script, a cron job or a bare login of a minimal system.
            for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_CTYPE"}) {
                environment.remove(QString::fromLatin1(name));
            }
        }
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.path().string()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(install.configHome));
        process.setProcessEnvironment(environment);
        process.start(program.isEmpty() ? QString::fromStdString(install.program) : program,
                      arguments);
        EXPECT_TRUE(process.waitForStarted(10000));
        return process;
    }

    // Windows of the program whose title matches, visible or not.
    static int countWindows(const QString& titlePattern) {
        const auto found = xdotool({"search", "--onlyvisible", "--name", titlePattern}, 5000);
        return found && !found->isEmpty() ? int(found->split('\n').size()) : 0;
    }

    static QString arg(const std::string& text) { return QString::fromStdString(text); }

    bool cLocale = false;
    Installation install;
    TempFolder runtime; // a private runtime folder of this test's own
    std::string documents;
    std::vector<std::unique_ptr<QProcess>> processes;
};

// Both starts in the C locale, then in the one the tests run in: names are bytes either way.
class XvfbHandoffInLocale : public XvfbHandoff, public ::testing::WithParamInterface<bool> {};

INSTANTIATE_TEST_SUITE_P(Locales, XvfbHandoffInLocale, ::testing::Values(true, false),
                         [](const auto& test) { return test.param ? "C" : "inherited"; });

TEST_P(XvfbHandoffInLocale, aSecondStartHandsItsFileToTheFirstWindowAndEnds) {
    cLocale = GetParam();
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    setOneInstance(true);
    const std::string first = document("first.nfo", "first\r\n");
    const std::string second = document("Zweite Datei – Grüße.txt", "second\r\n");
    start({arg(first)});
    const QString window = waitForWindow("^Tavrel - .*/first.nfo$");
    ASSERT_FALSE(window.isEmpty());

    QProcess& later = start({arg(second)});
    ASSERT_TRUE(later.waitForFinished(15000));
    EXPECT_EQ(later.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_FALSE(waitForWindow("Grüße.txt$", 10000).isEmpty());
    EXPECT_EQ(windowTitle(window), QStringLiteral("Tavrel - ") + QString::fromStdString(second));
    EXPECT_EQ(countWindows("^Tavrel - "), 1);

    // Without a file the running window comes to the front and keeps its document, also
    // from minimised.
    ASSERT_TRUE(xdotool({"windowminimize", "--sync", window}));
    QProcess& bare = start({});
    ASSERT_TRUE(bare.waitForFinished(15000));
    EXPECT_EQ(bare.exitCode(), 0);
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/Zweite", 10000).isEmpty()) << "not restored";
    EXPECT_EQ(countWindows("^Tavrel - "), 1);
}

TEST_P(XvfbHandoffInLocale, aLatin1NameIsHandedOverAsItsOwnBytes) {
    cLocale = GetParam();
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    setOneInstance(true);
    start({arg(document("first.nfo", "first\r\n"))});
    const QString window = waitForWindow("^Tavrel - .*/first.nfo$");
    ASSERT_FALSE(window.isEmpty());
    const std::string latin1 = documents + "/caf\xe9.txt"; // é in Latin-1: not UTF-8
    writeFile(latin1, "handed\r\n");

    // A shell passes the name's raw bytes; the toolkit would re-encode them as UTF-8.
    QProcess& later = start(
        {"-c", "exec \"$0\" \"$1/$(printf 'caf\\351.txt')\"", arg(install.program), arg(documents)},
        QStringLiteral("/bin/sh"));
    ASSERT_TRUE(later.waitForFinished(15000));
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/caf.*\\.txt$", 10000).isEmpty())
        << windowTitle(window).toStdString();
    EXPECT_EQ(countWindows("^Tavrel - "), 1);
}

TEST_F(XvfbHandoff, withTheOptionOffEveryStartOpensItsOwnWindow) {
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    setOneInstance(false);
    start({arg(document("one.nfo", "1\r\n"))});
    ASSERT_FALSE(waitForWindow("^Tavrel - .*/one.nfo$").isEmpty());
    start({arg(document("two.nfo", "2\r\n"))});
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/two.nfo$").isEmpty());
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/one.nfo$").isEmpty());
}

TEST_F(XvfbHandoff, aKilledFirstInstanceLeavesNothingThatStopsTheNextStart) {
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    setOneInstance(true);
    QProcess& first = start({arg(document("killed.nfo", "k\r\n"))});
    ASSERT_FALSE(waitForWindow("^Tavrel - .*/killed.nfo$").isEmpty());
    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(10000));
    ASSERT_TRUE(waitForWindowGone("^Tavrel - .*/killed.nfo$"));

    QProcess& next = start({arg(document("next.nfo", "n\r\n"))});
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/next.nfo$").isEmpty())
        << next.readAllStandardError().toStdString();
    EXPECT_EQ(next.state(), QProcess::Running);
}

// The lock belongs to the first window; once it has closed, a later window that turns the
// option on takes the lock, and with it the files of the starts after it.
TEST_F(XvfbHandoff, aWindowThatTurnsTheOptionOnTakesTheFreedLock) {
    fs::permissions(runtime.path(), fs::perms::owner_all, fs::perm_options::replace);
    const std::string ini = install.folder + "Tavrel.ini";
    writeFile(ini, "[Options]\r\nLanguage=English\r\nOneInstance=0\r\n");
    QProcess& first = start({arg(document("one.nfo", "1\r\n"))});
    const QString firstWindow = waitForWindow("^Tavrel - .*/one.nfo$");
    ASSERT_FALSE(firstWindow.isEmpty());
    start({arg(document("two.nfo", "2\r\n"))});
    const QString second = waitForWindow("^Tavrel - .*/two.nfo$");
    ASSERT_FALSE(second.isEmpty());
    ASSERT_TRUE(sendKeys(firstWindow, {"alt+x"}));
    ASSERT_TRUE(first.waitForFinished(10000));

    // Options, then "Allow only one Tavrel instance" by its key; the window writes the
    // settings at once.
    ASSERT_TRUE(sendKeys(second, {"alt+o", "v"}));
    for (int tries = 0; tries < 100 && readFile(ini).find("OneInstance=1") == std::string::npos;
         ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_NE(readFile(ini).find("OneInstance=1"), std::string::npos) << readFile(ini);

    const std::string third = document("three.nfo", "3\r\n");
    QProcess& later = start({arg(third)});
    ASSERT_TRUE(later.waitForFinished(15000)) << "the third start opened a window of its own";
    EXPECT_EQ(later.exitCode(), 0) << later.readAllStandardError().toStdString();
    EXPECT_FALSE(waitForWindow("^Tavrel - .*/three.nfo$", 10000).isEmpty());
    EXPECT_EQ(windowTitle(second), QStringLiteral("Tavrel - ") + arg(third));
}

} // namespace
} // namespace tavrel::test
