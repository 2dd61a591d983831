// Saving with the real window on an X server: the user types into a file that has a second
// name (and, as root, belongs to another user) and presses Ctrl+S. The file must stay the
// same file: both names see the new text, its inode, owner and mode unchanged. A file with
// NUL bytes is saved whole.
#include "end_to_end_support.h"
#include "nul_files.h"
#include "platform/file_facts.h"
#include "support/x_session.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <unistd.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// Polls until the file's bytes differ from `old`, up to a time limit.
[[nodiscard]] std::string waitForChange(const std::string& path, const std::string& old) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    std::string now = readFile(path);
    while (now == old && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        now = readFile(path);
    }
    return now;
}

TEST(XvfbSaving, ctrlSKeepsAHardLinkedFileOfAnotherOwnerTheSameFile) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const std::string doc = install.root / "art.nfo";
    const std::string other = install.root / "also-art.nfo";
    writeFile(doc, "art");
    ASSERT_EQ(::link(doc.c_str(), other.c_str()), 0);
    ASSERT_EQ(::chmod(doc.c_str(), 0666), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(doc.c_str(), 65534, 65534), 0); // nobody's file, writable to all
    }
    const FileFacts before = factsOf(doc);

    QProcess program;
    QProcessEnvironment environment = xProgramEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(install.configHome));
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(install.program), {QString::fromStdString(doc)});
    ASSERT_TRUE(program.waitForStarted(10000)) << program.errorString().toStdString();
    const QString id = waitForWindow(QStringLiteral("^Tavrel - "));
    if (id.isEmpty()) {
        program.kill();
        program.waitForFinished();
        FAIL() << "the window did not appear: " << program.readAllStandardError().toStdString();
    }
    // A click into the text puts the focus there (the Exit button has it after loading).
    ASSERT_TRUE(clickAt(id, 60, 40));
    ASSERT_TRUE(typeText(id, QStringLiteral("X")));
    ASSERT_TRUE(sendKeys(id, {"ctrl+s"}));
    const std::string saved = waitForChange(doc, "art");
    ASSERT_TRUE(sendKeys(id, {"alt+x"}));
    if (!program.waitForFinished(20000)) {
        program.kill();
        program.waitForFinished();
    }

    EXPECT_EQ(saved.size(), 4u) << saved;
    EXPECT_NE(saved.find('X'), std::string::npos) << saved;
    const FileFacts after = factsOf(doc);
    EXPECT_EQ(after.bytes, saved);
    EXPECT_EQ(readFile(other), saved);
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.links, 2u);
    EXPECT_EQ(after.owner, before.owner);
    EXPECT_EQ(after.group, before.group);
    EXPECT_EQ(after.mode, before.mode);
}

// A file that begins with NUL bytes (an old archive header) opens with its text; typed into
// and saved with Ctrl+S, it is written back whole, without a question.
TEST(XvfbSaving, aFileThatBeginsWithNulBytesIsEditedAndSavedWhole) {
    if (const std::string missing = xSessionMissing(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    const Installation install;
    writeFile(install.folder + "usb.dat", "");
    const NulFile nul = nulFiles().front();
    ASSERT_EQ(nul.bytes.front(), '\0');
    const std::string doc = install.root / nul.name;
    writeFile(doc, nul.bytes);

    RunningProgram program;
    const QString id = startOnX(program.process, install, doc);
    ASSERT_FALSE(id.isEmpty()) << "the window did not appear: " << program.errors();
    ASSERT_TRUE(clickAt(id, 60, 40));
    ASSERT_TRUE(sendKeys(id, {"ctrl+Home"}));
    ASSERT_TRUE(typeText(id, QStringLiteral("X")));
    ASSERT_TRUE(sendKeys(id, {"ctrl+s"}));
    const std::string saved = waitForChange(doc, nul.bytes);
    sendKeys(id, {"alt+x"});
    program.process.waitForFinished(20000);
    EXPECT_EQ(saved, "X" + nul.bytes);
}

} // namespace
} // namespace tavrel::test
