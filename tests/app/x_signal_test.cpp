// The built program on a real X server, ended by signals while its save question is open:
// the first signal asks as closing the window would, a second one while nobody answers keeps
// the edited text in a recovery file beside the settings and ends the program; the next
// start says where that file is. Runs on a virtual X server with a window manager.
#include "end_to_end_support.h"
#include "support/x_session.h"

#include "app/recovery_file.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

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

TEST(XSignals, aSecondSignalDuringTheSaveQuestionKeepsTheTextAndTheNextStartSaysWhere) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    // The editor, not the Exit button, has the keyboard after loading.
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string document = install.root / "hello.nfo";
    writeFile(document, "hello\r\nworld\r\n");

    QProcess program;
    launchOnX(program, install, {QString::fromStdString(document)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    const QString window = waitForWindow(QStringLiteral("^Tavrel - "));
    if (window.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(sendKeys(window, {"ctrl+End"}));
    ASSERT_TRUE(typeText(window, QStringLiteral("Q")));
    // The typing has arrived once Open asks about the changed text; Escape cancels the Open.
    ASSERT_TRUE(sendKeys(window, {"ctrl+o"}));
    const QString asked = waitForWindow(QStringLiteral("^Tavrel$"));
    ASSERT_FALSE(asked.isEmpty()) << "the typing did not change the text";
    ASSERT_TRUE(sendKeys(asked, {"Escape"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Tavrel$")));

    // The first signal closes the window, which asks about the changed text...
    signal(program, SIGTERM);
    const QString question = waitForWindow(QStringLiteral("^Tavrel$"));
    ASSERT_FALSE(question.isEmpty())
        << "no save question: " << program.readAllStandardError().toStdString();
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
    // The settings were written on the way out, the file among the recent ones.
    const std::string ini = readFile(install.folder + "Tavrel.ini");
    EXPECT_NE(ini.find("[Recent Files]\r\n0=" + document + "\r\n"), std::string::npos) << ini;

    // The next start shows where the text is, once: the note is gone after it.
    QProcess next;
    launchOnX(next, install, {QString::fromStdString(document)});
    ASSERT_TRUE(next.waitForStarted(10000));
    const QString report = waitForWindow(QStringLiteral("^Tavrel$"));
    EXPECT_FALSE(report.isEmpty()) << next.readAllStandardError().toStdString();
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
