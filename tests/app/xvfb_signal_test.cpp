// The built program on a real X server, ended by signals while its save question is open:
// the first signal asks as closing the window would, a second one while nobody answers keeps
// the edited text in a recovery file beside the settings and ends the program; the next
// start says where that file is. Runs under xvfb-run with the other X tests.
#include "end_to_end_support.h"

#include "app/recovery_file.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

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

// The first visible window whose title matches; nothing when none shows within the time.
std::optional<QString> findWindow(const QString& title) {
    const auto found = xdotool({"search", "--sync", "--onlyvisible", "--name", title});
    if (!found || found->isEmpty()) {
        return std::nullopt;
    }
    return found->split(QLatin1Char('\n')).front();
}

void startOnX(QProcess& program, const Installation& install, const QStringList& arguments) {
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
}

void signal(const QProcess& program, int number) {
    ::kill(static_cast<pid_t>(program.processId()), number);
}

[[nodiscard]] bool finishes(QProcess& program) {
    if (program.waitForFinished(20000)) {
        return true;
    }
    program.kill();
    program.waitForFinished();
    return false;
}

std::vector<fs::path> recoveryFiles(const std::string& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find("(recovered ") != std::string::npos) {
            found.push_back(entry.path());
        }
    }
    return found;
}

TEST(XvfbEndToEnd, aSecondSignalDuringTheSaveQuestionKeepsTheTextAndTheNextStartSaysWhere) {
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "needs an X display; CTest runs this under xvfb-run as "
                        "tavrel_app_xvfb_end_to_end";
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        GTEST_SKIP() << "xdotool is not installed (scripts/setup installs it)";
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    // The editor, not the Exit button, has the keyboard after loading.
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string document = install.root / "hello.nfo";
    writeFile(document, "hello\r\nworld\r\n");

    QProcess program;
    startOnX(program, install, {QString::fromStdString(document)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    const auto window = findWindow(QStringLiteral("^Tavrel - "));
    if (!window) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(xdotool({"windowfocus", "--sync", *window}));
    ASSERT_TRUE(xdotool({"key", "--clearmodifiers", "ctrl+End"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "50", "Q"}));

    // The first signal closes the window, which asks about the changed text...
    signal(program, SIGTERM);
    const auto question = findWindow(QStringLiteral("^Tavrel$"));
    ASSERT_TRUE(question) << "no save question: " << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.state(), QProcess::Running);
    // ...and the second, with the question unanswered, ends it without losing the text.
    signal(program, SIGHUP);
    ASSERT_TRUE(finishes(program)) << "the second signal did not end the program";
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;

    const std::vector<fs::path> kept = recoveryFiles(install.folder);
    ASSERT_EQ(kept.size(), 1u) << errors;
    EXPECT_EQ(kept.front().filename().string().rfind("hello (recovered ", 0), 0u);
    EXPECT_EQ(kept.front().extension(), ".nfo");
    EXPECT_EQ(readFile(kept.front().string()), "hello\r\nworld\r\nQ");
    EXPECT_EQ(readFile(document), "hello\r\nworld\r\n"); // nobody said Yes
    EXPECT_NE(errors.find(kept.front().string()), std::string::npos) << errors;

    // The next start shows where the text is, once: the note is gone after it.
    QProcess next;
    startOnX(next, install, {QString::fromStdString(document)});
    ASSERT_TRUE(next.waitForStarted(10000));
    const auto report = findWindow(QStringLiteral("^Tavrel$"));
    EXPECT_TRUE(report) << next.readAllStandardError().toStdString();
    EXPECT_FALSE(fs::exists(install.folder + kRecoveryNoteName));
    // With the report open and nothing changed, two signals end it and keep nothing new.
    signal(next, SIGINT);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    signal(next, SIGINT);
    ASSERT_TRUE(finishes(next));
    EXPECT_EQ(next.exitCode(), 0) << next.readAllStandardError().toStdString();
    EXPECT_EQ(recoveryFiles(install.folder).size(), 1u);
}

} // namespace
} // namespace tavrel::test
