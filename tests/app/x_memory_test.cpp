// The built program on a real X server running out of memory: a user with an edited document
// opens a file whose paragraphs do not fit in the memory the process may still map. The
// program must say so, keep the document and the edit, and go on working.
#include "end_to_end_support.h"
#include "support/memory_limit.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>

#include <sys/resource.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// The address space a process maps, from its status file; 0 when unknown.
std::size_t mappedBytes(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0) {
            return std::stoull(line.substr(7)) * 1024;
        }
    }
    return 0;
}

// Lets a running process map at most `headroom` bytes more than it does now; 0 lifts the
// limit again.
bool setHeadroom(qint64 pid, std::size_t headroom) {
    rlimit limit{};
    if (::prlimit(static_cast<pid_t>(pid), RLIMIT_AS, nullptr, &limit) != 0) {
        return false;
    }
    const std::size_t mapped = mappedBytes(pid);
    limit.rlim_cur = headroom == 0 ? limit.rlim_max : mapped + headroom;
    return mapped > 0 && ::prlimit(static_cast<pid_t>(pid), RLIMIT_AS, &limit, nullptr) == 0;
}

// 100 MB of three-byte lines: read in a moment, but 33 million paragraphs to lay out.
void writeShortLines(const std::string& path) {
    std::string block;
    for (int i = 0; i < 1 << 20; ++i) {
        block += "a\r\n";
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    for (int i = 0; i < 32; ++i) {
        ASSERT_EQ(std::fwrite(block.data(), 1, block.size(), out), block.size());
    }
    std::fclose(out);
}

TEST(XMemory, openingAFileTooBigForTheMemoryLeftKeepsTheDocumentAndTheEdit) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    if (!addressSpaceLimitUsable()) {
        GTEST_SKIP() << "sanitizer builds cannot run under an address-space limit";
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\n");
    const std::string small = install.root / "small.nfo";
    writeFile(small, "small text\r\n");
    const std::string big = install.root / "big.txt";
    writeShortLines(big);

    QProcess program;
    const QString window =
        startOnX(program, install, small, QStringLiteral("^Tavrel - .*small\\.nfo$"));
    if (window.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(sendKeys(window, {"ctrl+End"}));
    ASSERT_TRUE(typeText(window, QStringLiteral("Q")));

    // Open asks about the edit first; No lets the Open dialog come.
    ASSERT_TRUE(sendKeys(window, {"ctrl+o"}));
    const QString question = waitForWindow(QStringLiteral("^Tavrel$"));
    ASSERT_FALSE(question.isEmpty()) << "no save question";
    ASSERT_TRUE(sendKeys(question, {"alt+n"}));
    const QString dialog = waitForWindow(QStringLiteral("^Open$"));
    ASSERT_FALSE(dialog.isEmpty()) << "no Open dialog";

    // From here the process may map 400 MB more than it does: the file's bytes fit, its
    // paragraph records (800 MB) do not. (The limit comes once the dialog is up: its
    // threads reserve address space of their own.)
    ASSERT_TRUE(setHeadroom(program.processId(), std::size_t(400) << 20));
    ASSERT_TRUE(typeText(dialog, QString::fromStdString(big)));
    ASSERT_TRUE(sendKeys(dialog, {"Return"}));

    const QString message = waitForWindow(QStringLiteral("^Error$"), 60000);
    ASSERT_FALSE(message.isEmpty())
        << "no message; the program "
        << (program.state() == QProcess::Running ? "still runs" : "ended") << ": "
        << program.readAllStandardError().toStdString();
    ASSERT_TRUE(sendKeys(message, {"Return"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Error$")));
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_EQ(windowTitle(window).toStdString(), "Tavrel - " + small);

    // The edit is still there: two signals with the save question open keep it in a
    // recovery file, whose bytes are the document's.
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_FALSE(waitForWindow(QStringLiteral("^Tavrel$")).isEmpty()) << "no save question";
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;
    std::string kept;
    for (const auto& entry : fs::directory_iterator(install.folder)) {
        if (entry.path().filename().string().rfind("small (recovered ", 0) == 0) {
            kept = readFile(entry.path().string());
        }
    }
    EXPECT_EQ(kept, "small text\r\nQ") << errors;
}

// A command that is not a load: copying fifteen megabytes to the clipboard needs a copy of
// the text and twice its size again for the clipboard's own form. Under the limit the Copy
// item (its Ctrl+C) fails; the guard around the program's own commands reports it and the
// window goes on with the text and takes typing. The file stays below the size that loads in the
// background, whose first screen shows (with the file's name in the title) before the text can be
// edited.
TEST(XMemory, aCopyThatRunsOutOfMemoryIsReportedAndTheProgramGoesOn) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    if (!addressSpaceLimitUsable()) {
        GTEST_SKIP() << "sanitizer builds cannot run under an address-space limit";
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    writeFile(install.folder + "Tavrel.ini", "[Options]\r\nExitFocus=0\r\nWordWrap=0\r\n");
    std::string text;
    for (int i = 0; i < 15; ++i) {
        text += std::string(std::size_t(1) << 20, static_cast<char>('a' + i));
        text += "\r\n";
    }
    const std::string wide = install.root / "wide.txt";
    writeFile(wide, text);

    QProcess program;
    const QString window =
        startOnX(program, install, wide, QStringLiteral("^Tavrel - .*wide\\.txt$"));
    if (window.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(sendKeys(window, {"ctrl+End"}));
    ASSERT_TRUE(typeText(window, QStringLiteral("Q")));

    ASSERT_TRUE(setHeadroom(program.processId(), std::size_t(24) << 20));
    ASSERT_TRUE(sendKeys(window, {"ctrl+a", "ctrl+c"}));
    const QString message = waitForWindow(QStringLiteral("^Error$"), 60000);
    ASSERT_FALSE(message.isEmpty())
        << "no message; the program "
        << (program.state() == QProcess::Running ? "still runs" : "ended") << ": "
        << program.readAllStandardError().toStdString();
    ASSERT_TRUE(sendKeys(message, {"Return"}));
    ASSERT_TRUE(waitForWindowGone(QStringLiteral("^Error$")));
    EXPECT_EQ(program.state(), QProcess::Running);

    // Memory is back; the window takes typing again, and the text with both edits is all
    // there.
    ASSERT_TRUE(setHeadroom(program.processId(), 0));
    ASSERT_TRUE(sendKeys(window, {"ctrl+End"}));
    ASSERT_TRUE(typeText(window, QStringLiteral("Z")));
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_FALSE(waitForWindow(QStringLiteral("^Tavrel$")).isEmpty()) << "no save question";
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(20000));
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitCode(), 0) << errors;
    std::string kept;
    for (const auto& entry : fs::directory_iterator(install.folder)) {
        if (entry.path().filename().string().rfind("wide (recovered ", 0) == 0) {
            kept = readFile(entry.path().string());
        }
    }
    EXPECT_TRUE(kept == text + "QZ") << "kept " << kept.size() << " bytes; " << errors;
}

} // namespace
} // namespace tavrel::test
