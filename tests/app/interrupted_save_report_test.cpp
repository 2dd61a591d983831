// The window's first question after a crash cut a save: which file, where its old text is,
// and what Yes and No do to them. The note is written by hand in its documented form.
#include "settings/save_note.h"
#include "window_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace tavrel::test {
namespace {

namespace fs = std::filesystem;

// The shipped English texts.
const std::string kQuestion =
    "Saving the first file below was cut off before it was complete; it may hold part of its "
    "new text and part of its old one. Its old text was kept in the second file below. Do you "
    "want to put the old text back?";
const std::string kKept = "The old text stays in the file below. The program asks again at its "
                          "next start; delete that file when you no longer need it.";
const std::string kNotRestored = "The old text could not be put back. It stays in the file below.";

class InterruptedSaveReport : public WindowTest {
protected:
    const std::string old = "the old text\r\n";
    std::string target;
    std::string copy;
    std::string note;

    void SetUp() override {
        target = file("art.nfo", "the new te");
        copy = file(".art.nfo.tavrel-old-abc123", old);
        struct stat info {};
        ASSERT_EQ(::stat(copy.c_str(), &info), 0);
        note = folder / "in-place-save-abc123.note";
        writeFile(note, formatSaveNote({target, copy, old.size(), info.st_dev, info.st_ino}));
    }

    void start() {
        open();
        QCoreApplication::processEvents();
    }
};

TEST_F(InterruptedSaveReport, yesPutsTheOldTextBackAndTidiesUp) {
    dialogs.confirmAnswers = {true};
    start();
    ASSERT_EQ(dialogs.log, std::vector<std::string>{"confirm"});
    EXPECT_EQ(dialogs.questions.front(), kQuestion);
    EXPECT_EQ(dialogs.details.front(), target + "\n" + copy);
    EXPECT_EQ(readFile(target), old);
    EXPECT_FALSE(fs::exists(copy));
    EXPECT_FALSE(fs::exists(note));
}

TEST_F(InterruptedSaveReport, noKeepsTheCopySaysWhereAndAsksAgainNextTime) {
    start(); // No is the answer when none is given, as it is the default button
    ASSERT_EQ(dialogs.log, (std::vector<std::string>{"confirm", "plain:" + kKept}));
    EXPECT_EQ(dialogs.details.back(), copy);
    EXPECT_EQ(readFile(target), "the new te");
    EXPECT_EQ(readFile(copy), old);

    dialogs.log.clear();
    window.reset();
    start();
    EXPECT_EQ(dialogs.log.front(), "confirm");
}

TEST_F(InterruptedSaveReport, aRestoreThatFailsSaysWhyAndKeepsTheCopy) {
    // A link put where the file was is not written through.
    ASSERT_EQ(::unlink(target.c_str()), 0);
    ASSERT_EQ(::symlink(copy.c_str(), target.c_str()), 0);
    dialogs.confirmAnswers = {true};
    start();
    ASSERT_EQ(dialogs.log.size(), 2u);
    EXPECT_EQ(dialogs.log[1], "error:Error:" + kNotRestored);
    EXPECT_EQ(dialogs.details[1].rfind(copy + "\n" + target + ": ", 0), 0u) << dialogs.details[1];
    EXPECT_EQ(readFile(copy), old);
    EXPECT_TRUE(fs::exists(note));
}

} // namespace
} // namespace tavrel::test
