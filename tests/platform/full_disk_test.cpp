// Saves that the system refuses half-way: a 1 MB tmpfs filled up (root, in a private mount
// namespace) and a file-size limit (any user). After each failure the old file must be
// there as it was, with no temporary file left and the system's reason in the message.
#include "platform/atomic_file.h"
#include "platform/file_facts.h"
#include "platform/file_move.h"
#include "platform/private_files.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::entriesIn;
using test::factsOf;
using test::readFile;
using test::TempFolder;
using test::writeFile;

[[nodiscard]] std::string pattern(std::size_t size, char seed) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = static_cast<char>('A' + (seed + i) % 26);
    }
    return text;
}

// A 1 MB tmpfs of the test's own, mounted in a mount namespace that only this process sees.
class SmallDisk : public ::testing::Test {
protected:
    std::string disk;
    bool mounted = false;

    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "mounting a small disk needs root";
        }
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
        }
        std::string folder = (fs::temp_directory_path() / "tavrel-disk-XXXXXX").string();
        ASSERT_NE(::mkdtemp(folder.data()), nullptr);
        disk = folder;
        ASSERT_EQ(::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m"), 0) << std::strerror(errno);
        mounted = true;
    }
    void TearDown() override {
        if (mounted) {
            ::umount2(disk.c_str(), MNT_DETACH);
        }
        if (!disk.empty()) {
            ::rmdir(disk.c_str());
        }
    }

    [[nodiscard]] std::string at(const char* name) const { return disk + "/" + name; }

    // Fills the disk, then gives `room` bytes back.
    void fillLeaving(off_t room) {
        const int fd = ::open(at("filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ASSERT_EQ(errno, ENOSPC);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        ASSERT_GE(size, room);
        ASSERT_EQ(::ftruncate(fd, size - room), 0);
        ::close(fd);
    }
    void emptyFiller() { ::unlink(at("filler").c_str()); }
};

TEST_F(SmallDisk, aSaveOntoAFullDiskFailsWithTheReasonAndKeepsTheOldFile) {
    const std::string path = at("art.nfo");
    writeFile(path, "old text");
    fillLeaving(0);
    const test::FileFacts before = factsOf(path);
    // Small writes matter most: buffered writers lost them without a word.
    for (const std::size_t size :
         {std::size_t{1}, std::size_t{16384}, std::size_t{16385}, std::size_t{300000}}) {
        const WriteStatus status = platform::writeFileAtomically(path, pattern(size, 1));
        EXPECT_NE(status.error.find(path), std::string::npos) << size << ": " << status.error;
        EXPECT_NE(status.error.find(std::strerror(ENOSPC)), std::string::npos) << status.error;
        const test::FileFacts after = factsOf(path);
        EXPECT_EQ(after.bytes, "old text") << size;
        EXPECT_EQ(after.inode, before.inode);
        EXPECT_EQ(after.mode, before.mode);
        EXPECT_EQ(after.links, 1u);
        EXPECT_EQ(entriesIn(disk), 2u) << "a temporary file was left behind";
    }
    emptyFiller();
    const std::string text = pattern(300000, 2);
    ASSERT_TRUE(platform::writeFileAtomically(path, text).ok());
    EXPECT_EQ(readFile(path), text);
    EXPECT_EQ(entriesIn(disk), 1u);
}

// A recovery copy that does not fit says why and leaves no part of itself behind, so the
// next name tried, or the next start, never meets half a copy.
TEST_F(SmallDisk, aNewFileThatDoesNotFitFailsWithTheReasonAndLeavesNothing) {
    fillLeaving(4096);
    std::string error;
    EXPECT_EQ(platform::createNewFile(at("kept.txt"), pattern(300000, 3), &error),
              platform::NewFileResult::Failed);
    EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(at("kept.txt")));
    emptyFiller();
    ASSERT_EQ(platform::createNewFile(at("kept.txt"), "fits", &error),
              platform::NewFileResult::Created)
        << error;
    EXPECT_EQ(readFile(at("kept.txt")), "fits");
}

TEST_F(SmallDisk, aHardLinkedFileThatWouldNotFitIsRefusedBeforeItIsTouched) {
    const std::string path = at("art.nfo");
    const std::string old = pattern(100 * 1024, 3);
    writeFile(path, old);
    ASSERT_EQ(::link(path.c_str(), at("link.nfo").c_str()), 0);
    // Room for the new text and the old one kept aside, not for the file to grow as well.
    fillLeaving(400 * 1024);
    const test::FileFacts before = factsOf(path);

    const WriteStatus status = platform::writeFileAtomically(path, pattern(250 * 1024, 4));

    EXPECT_NE(status.error.find(std::strerror(ENOSPC)), std::string::npos) << status.error;
    const test::FileFacts after = factsOf(path);
    EXPECT_TRUE(after.bytes == old) << "the file was changed";
    EXPECT_TRUE(readFile(at("link.nfo")) == old);
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.links, 2u);
    EXPECT_EQ(entriesIn(disk), 3u);

    emptyFiller();
    const std::string text = pattern(250 * 1024, 5);
    ASSERT_TRUE(platform::writeFileAtomically(path, text).ok());
    EXPECT_TRUE(readFile(at("link.nfo")) == text);
    EXPECT_EQ(factsOf(path).inode, before.inode);
}

TEST_F(SmallDisk, theMoveKeepsItsSourceWhenTheCopyDoesNotFit) {
    const TempFolder home; // another file system than the small disk
    const std::string source = home / "Tavrel.ini";
    const std::string settings = pattern(64 * 1024, 6);
    writeFile(source, settings);
    writeFile(at("Tavrel.ini"), "older");
    fillLeaving(0);

    EXPECT_FALSE(platform::moveFile(source, at("Tavrel.ini"), /*replace=*/true));
    EXPECT_TRUE(readFile(source) == settings);
    EXPECT_EQ(readFile(at("Tavrel.ini")), "older");
    EXPECT_EQ(entriesIn(disk), 2u);

    emptyFiller();
    EXPECT_TRUE(platform::moveFile(source, at("Tavrel.ini"), /*replace=*/true));
    EXPECT_FALSE(fs::exists(source));
    EXPECT_TRUE(readFile(at("Tavrel.ini")) == settings);
}

// A file-size limit makes the system refuse writes past it (EFBIG) for any user.
class SizeLimit : public ::testing::Test {
protected:
    rlimit saved{};
    void SetUp() override {
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing
        rlimit limit = saved;
        limit.rlim_cur = 8192;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    void TearDown() override {
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_DFL);
    }
};

TEST_F(SizeLimit, aRefusedWriteKeepsTheOldFileAsOrdinaryUser) {
    const TempFolder dir;
    writeFile(dir / "alone.nfo", "old alone");
    writeFile(dir / "linked.nfo", "old linked");
    ASSERT_EQ(::link((dir / "linked.nfo").c_str(), (dir / "other.nfo").c_str()), 0);
    for (const char* name : {"alone.nfo", "linked.nfo"}) {
        const test::FileFacts before = factsOf(dir / name);
        const WriteStatus status = platform::writeFileAtomically(dir / name, pattern(16384, 7));
        EXPECT_NE(status.error.find(dir / name), std::string::npos) << status.error;
        EXPECT_NE(status.error.find(std::strerror(EFBIG)), std::string::npos) << status.error;
        const test::FileFacts after = factsOf(dir / name);
        EXPECT_EQ(after.bytes, before.bytes);
        EXPECT_EQ(after.inode, before.inode);
        EXPECT_EQ(after.links, before.links);
        EXPECT_EQ(after.mode, before.mode);
    }
    EXPECT_EQ(entriesIn(dir.path()), 3u);
    // Within the limit the same files save.
    ASSERT_TRUE(platform::writeFileAtomically(dir / "linked.nfo", pattern(4096, 8)).ok());
    EXPECT_EQ(readFile(dir / "other.nfo"), pattern(4096, 8));
}

TEST(SizeLimitAtCommit, anOverwriteRefusedHalfWayLeavesTheOldBytesAsOrdinaryUser) {
    const TempFolder dir;
    const std::string old = pattern(4096, 9);
    writeFile(dir / "art.nfo", old);
    ASSERT_EQ(::link((dir / "art.nfo").c_str(), (dir / "link.nfo").c_str()), 0);
    platform::AtomicFile file(dir / "art.nfo");
    ASSERT_TRUE(file.open()) << file.error();
    ASSERT_EQ(file.method(), platform::WriteMethod::InPlace);
    ASSERT_TRUE(file.write(pattern(16384, 10)));
    // The limit comes after the new bytes were staged: only the overwrite meets it.
    const WriteStatus status = test::commitUnderFileSizeLimit(file, 8192);

    EXPECT_NE(status.error.find(std::strerror(EFBIG)), std::string::npos) << status.error;
    EXPECT_NE(status.error.find("left as it was"), std::string::npos) << status.error;
    EXPECT_TRUE(readFile(dir / "art.nfo") == old);
    EXPECT_TRUE(readFile(dir / "link.nfo") == old);
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

} // namespace
} // namespace tavrel
