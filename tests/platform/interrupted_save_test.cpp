// An in-place save killed at every step of its overwrite never costs the file's old text:
// afterwards the file holds the old or the new bytes, or the next start finds the save and
// restoring gives the old bytes back exactly. And the lookup trusts no note or copy that is
// damaged, foreign or swapped.
#include "platform/atomic_file.h"
#include "platform/file_facts.h"
#include "platform/interrupted_save.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tavrel {
namespace {

using platform::InPlaceStep;
using test::entriesIn;
using test::factsOf;
using test::readFile;
using test::TempFolder;
using test::writeFile;

[[nodiscard]] std::string pattern(std::size_t size, char seed) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('A' + (seed + i * 7 + i / 4096) % 26);
    }
    return text;
}

// Where the child ends itself: the nth report of one step.
InPlaceStep killStep = InPlaceStep::KeepingOldText;
std::uint64_t killAt = 0;
std::uint64_t reports = 0;

void killAtStep(InPlaceStep step, std::uint64_t) {
    if (step == killStep && ++reports == killAt) {
        ::kill(::getpid(), SIGKILL);
    }
}

// Files seen while a save runs, from its own process, at the moment its copy is complete.
std::size_t filesBesideWhileRunning = 0;
std::size_t notesWhileRunning = 0;
std::size_t offeredWhileRunning = 0;
std::string runningFolder;
std::string runningNotes;

void lookWhileRunning(InPlaceStep step, std::uint64_t) {
    if (step == InPlaceStep::OldTextKept) {
        filesBesideWhileRunning = entriesIn(runningFolder);
        notesWhileRunning = entriesIn(runningNotes);
        offeredWhileRunning = platform::findInterruptedSaves(runningNotes).size();
    }
}

class InterruptedSave : public ::testing::Test {
protected:
    TempFolder dir;      // the file's folder
    TempFolder settings; // the note folder
    std::string path = dir / "art.nfo";
    std::string link = dir / "link.nfo";

    void SetUp() override { platform::setSaveNoteFolder(settings.path()); }
    void TearDown() override {
        platform::setSaveNoteFolder({});
        platform::setInPlaceStepHook(nullptr);
    }

    void writeLinked(const std::string& text) {
        writeFile(path, text);
        ASSERT_EQ(::link(path.c_str(), link.c_str()), 0);
    }

    // Saves `text` over the file in a child that kills itself at the nth report of `step`
    // (never, for 0); answers the child's wait status.
    int saveInChild(const std::string& text, InPlaceStep step, std::uint64_t nth) {
        const pid_t child = ::fork();
        if (child == 0) {
            killStep = step;
            killAt = nth;
            reports = 0;
            platform::setInPlaceStepHook(&killAtStep);
            ::_exit(platform::writeFileAtomically(path, text).ok() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }

    [[nodiscard]] static bool killed(int status) {
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
};

enum class Left { Old, Mixed, New };

struct Crash {
    const char* what;
    InPlaceStep step;
    std::uint64_t nth; // 0: not killed
    std::size_t newSize;
    Left left;    // what the file holds right after
    bool offered; // whether the next start finds the save
};

TEST_F(InterruptedSave, aKillAtAnyStepLeavesTheOldTextOrOffersItBackByteForByte) {
    const std::string old = pattern(3 * 1024 * 1024 + 123, 1);
    const Crash crashes[] = {
        {"while the copy is made", InPlaceStep::KeepingOldText, 7, 4 * 1024 * 1024, Left::Old,
         false},
        {"with the copy complete", InPlaceStep::OldTextKept, 1, 4 * 1024 * 1024, Left::Old, true},
        {"after the first piece", InPlaceStep::Overwriting, 1, 4 * 1024 * 1024, Left::Mixed, true},
        {"half-way, growing", InPlaceStep::Overwriting, 30, 4 * 1024 * 1024 + 77, Left::Mixed,
         true},
        {"half-way, shrinking", InPlaceStep::Overwriting, 20, 2 * 1024 * 1024 + 5, Left::Mixed,
         true},
        {"past the old end", InPlaceStep::Overwriting, 55, 4 * 1024 * 1024, Left::Mixed, true},
        {"with the new text on disk", InPlaceStep::Overwritten, 1, 1024 * 1024, Left::New, true},
        {"not at all", InPlaceStep::Overwritten, 0, 4 * 1024 * 1024 + 1, Left::New, false},
    };
    writeLinked(old);
    const ino_t inode = factsOf(path).inode;
    char seed = 2;
    for (const Crash& crash : crashes) {
        SCOPED_TRACE(crash.what);
        const std::string text = pattern(crash.newSize, seed++);
        const int status = saveInChild(text, crash.step, crash.nth);
        if (crash.nth == 0) {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        } else {
            ASSERT_TRUE(killed(status)) << "the save ended before the step it should die at";
        }
        const std::string after = readFile(path);
        switch (crash.left) {
        case Left::Old:
            EXPECT_TRUE(after == old);
            break;
        case Left::Mixed:
            EXPECT_TRUE(after != old && after != text);
            break;
        case Left::New:
            EXPECT_TRUE(after == text);
            break;
        }

        const std::vector<platform::InterruptedSave> found =
            platform::findInterruptedSaves(settings.path());
        ASSERT_EQ(found.size(), crash.offered ? 1u : 0u);
        if (crash.offered) {
            EXPECT_EQ(found[0].note.target, path);
            EXPECT_EQ(found[0].note.oldText.rfind(dir.path().string() + "/.art.nfo.", 0), 0u)
                << "a writable folder keeps the copy beside the file: " << found[0].note.oldText;
            EXPECT_TRUE(readFile(found[0].note.oldText) == old);
            const WriteStatus restored = platform::restoreInterruptedSave(found[0]);
            ASSERT_TRUE(restored.ok()) << restored.error;
        }
        EXPECT_TRUE(readFile(path) == (crash.left == Left::New && !crash.offered ? text : old));
        EXPECT_TRUE(readFile(link) == readFile(path));
        EXPECT_EQ(factsOf(path).inode, inode);
        // Neither a half copy, nor a note, nor a staging file is left anywhere.
        EXPECT_EQ(entriesIn(dir.path()), 2u);
        EXPECT_EQ(entriesIn(settings.path()), 0u);
        writeFile(path, old); // the same inode, for the next case
    }
}

TEST_F(InterruptedSave, aSaveStillRunningIsNotOfferedToAnotherLookup) {
    writeLinked("old text");
    runningFolder = dir.path();
    runningNotes = settings.path();
    platform::setInPlaceStepHook(&lookWhileRunning);
    ASSERT_TRUE(platform::writeFileAtomically(path, "new text").ok());
    // While it ran: the file, its link, the named copy beside them, and one note, which the
    // save's lock kept from being offered.
    EXPECT_EQ(filesBesideWhileRunning, 3u);
    EXPECT_EQ(notesWhileRunning, 1u);
    EXPECT_EQ(offeredWhileRunning, 0u);
    EXPECT_EQ(readFile(link), "new text");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    EXPECT_EQ(entriesIn(settings.path()), 0u);
}

TEST_F(InterruptedSave, anOverwriteRefusedHalfWayPutsTheOldBytesBackAndRemovesCopyAndNote) {
    const std::string old = pattern(4096, 9);
    writeLinked(old);
    platform::AtomicFile file(path);
    ASSERT_TRUE(file.open()) << file.error();
    ASSERT_TRUE(file.write(pattern(16384, 10)));
    // The file-size limit meets only the overwrite past 8 KB: the copy of 4 KB is made.
    const WriteStatus status = test::commitUnderFileSizeLimit(file, 8192);

    EXPECT_NE(status.error.find("left as it was"), std::string::npos) << status.error;
    EXPECT_TRUE(readFile(link) == old);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    EXPECT_EQ(entriesIn(settings.path()), 0u);
}

TEST_F(InterruptedSave, aKillInAReadOnlyFolderLeavesTheOldTextInTheNoteFolderAsOrdinaryUser) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    const std::string old = pattern(2 * 1024 * 1024 + 9, 3);
    writeFile(path, old);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const std::string text = pattern(3 * 1024 * 1024, 4);

    ASSERT_TRUE(killed(saveInChild(text, InPlaceStep::Overwriting, 10)));

    const std::vector<platform::InterruptedSave> found =
        platform::findInterruptedSaves(settings.path());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].note.target, path);
    EXPECT_EQ(found[0].note.oldText.rfind(settings.path().string() + "/.art.nfo.", 0), 0u)
        << found[0].note.oldText;
    EXPECT_TRUE(readFile(path) != old);
    ASSERT_TRUE(platform::restoreInterruptedSave(found[0]).ok());
    EXPECT_TRUE(readFile(path) == old);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
    EXPECT_EQ(entriesIn(settings.path()), 0u);
}

// --- Notes and copies that must not be trusted ---------------------------------------------

class UntrustedNote : public InterruptedSave {
protected:
    const std::string old = pattern(300000, 5);
    platform::InterruptedSave save;

    // A save killed half-way, as found by the lookup.
    void SetUp() override {
        InterruptedSave::SetUp();
        writeLinked(old);
        ASSERT_TRUE(killed(saveInChild(pattern(400000, 6), InPlaceStep::Overwriting, 2)));
        const auto found = platform::findInterruptedSaves(settings.path());
        ASSERT_EQ(found.size(), 1u);
        save = found[0];
    }
};

TEST_F(UntrustedNote, damagedAndForeignNotesAreIgnoredAndLeftAlone) {
    const std::string bytes = readFile(save.notePath);
    const std::pair<const char*, std::string> strays[] = {
        {"in-place-save-cut.note", bytes.substr(0, bytes.size() - 1)},
        {"in-place-save-junk.note", std::string("\xff\xfe garbage \0\0\0", 15)},
        {"in-place-save-empty.note", ""},
        {"in-place-save-long.note", bytes + std::string(20000, 'x')},
        {"in-place-save-junk.pending", "not a note"},
    };
    for (const auto& [name, content] : strays) {
        writeFile(settings / name, content);
    }
    ASSERT_EQ(::mkdir((settings / "in-place-save-dir.note").c_str(), 0700), 0);
    // A link to the real note is not followed: it is someone else's way in.
    ASSERT_EQ(::symlink(save.notePath.c_str(), (settings / "in-place-save-link.note").c_str()), 0);

    const auto found = platform::findInterruptedSaves(settings.path());
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].notePath, save.notePath);
    for (const auto& [name, content] : strays) {
        EXPECT_TRUE(readFile(settings / name) == content) << name;
    }
    EXPECT_EQ(entriesIn(settings.path()), 8u);
}

TEST_F(UntrustedNote, aCopySwappedForAnotherFileIsNeverWrittenOverTheTarget) {
    const std::string mixed = readFile(path);
    // Another file of the same length put under the copy's name; made before the copy goes,
    // so that it cannot be given the copy's inode number again.
    writeFile(dir / "stranger", std::string(old.size(), 'X'));
    ASSERT_EQ(::rename((dir / "stranger").c_str(), save.note.oldText.c_str()), 0);

    const WriteStatus status = platform::restoreInterruptedSave(save);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find(save.note.oldText), std::string::npos) << status.error;
    EXPECT_TRUE(readFile(path) == mixed);

    // The next lookup drops the note that leads nowhere and leaves the stranger's file.
    EXPECT_TRUE(platform::findInterruptedSaves(settings.path()).empty());
    EXPECT_EQ(entriesIn(settings.path()), 0u);
    EXPECT_TRUE(readFile(save.note.oldText) == std::string(old.size(), 'X'));
}

TEST_F(UntrustedNote, aLinkPutInPlaceOfTheTargetIsNotFollowed) {
    const std::string victim = dir / "victim.txt";
    writeFile(victim, "untouched");
    ASSERT_EQ(::unlink(path.c_str()), 0);
    ASSERT_EQ(::symlink(victim.c_str(), path.c_str()), 0);

    const WriteStatus status = platform::restoreInterruptedSave(save);
    EXPECT_NE(status.error.find(std::strerror(ELOOP)), std::string::npos) << status.error;
    EXPECT_EQ(readFile(victim), "untouched");
    EXPECT_TRUE(readFile(save.note.oldText) == old); // kept for another try
}

TEST_F(UntrustedNote, aCopyRemovedByTheUserTakesItsNoteAlong) {
    ASSERT_EQ(::unlink(save.note.oldText.c_str()), 0);
    EXPECT_TRUE(platform::findInterruptedSaves(settings.path()).empty());
    EXPECT_EQ(entriesIn(settings.path()), 0u);
}

TEST_F(UntrustedNote, discardingRemovesCopyAndNoteAndLeavesTheFile) {
    const std::string mixed = readFile(path);
    ASSERT_TRUE(platform::discardInterruptedSave(save).ok());
    EXPECT_TRUE(readFile(path) == mixed);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    EXPECT_EQ(entriesIn(settings.path()), 0u);
    // Once gone, it is gone: a second answer to the same question fails without harm.
    EXPECT_FALSE(platform::restoreInterruptedSave(save).ok());
    EXPECT_TRUE(readFile(path) == mixed);
}

} // namespace
} // namespace tavrel
