// The atomic writer keeps a saved file the same file: hard links, another user's ownership,
// a read-only folder, group, mode and extended attributes; and devices and FIFOs are written
// to, never replaced by a plain file.
#include "platform/atomic_file.h"
#include "platform/file_facts.h"
#include "platform/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::entriesIn;
using test::factsOf;
using test::readFile;
using test::TempFolder;
using test::writeFile;

constexpr uid_t kNobody = 65534;

TEST(AtomicIdentity, aHardLinkedFileIsWrittenInPlaceAndBothNamesSeeTheNewText) {
    const TempFolder dir;
    writeFile(dir / "art.nfo", "old text");
    ASSERT_EQ(::link((dir / "art.nfo").c_str(), (dir / "copy.nfo").c_str()), 0);
    const test::FileFacts before = factsOf(dir / "art.nfo");

    ASSERT_TRUE(platform::writeFileAtomically(dir / "art.nfo", "the new, longer text").ok());

    const test::FileFacts after = factsOf(dir / "art.nfo");
    EXPECT_EQ(after.bytes, "the new, longer text");
    EXPECT_EQ(readFile(dir / "copy.nfo"), "the new, longer text");
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.links, 2u);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(entriesIn(dir.path()), 2u);

    // Shorter text cuts the file to its new length.
    ASSERT_TRUE(platform::writeFileAtomically(dir / "copy.nfo", "short").ok());
    EXPECT_EQ(readFile(dir / "art.nfo"), "short");
    EXPECT_EQ(factsOf(dir / "art.nfo").inode, before.inode);
}

TEST(AtomicIdentity, aSingleLinkFileOfOurOwnIsReplacedKeepingModeAndGroup) {
    const TempFolder dir;
    writeFile(dir / "notes.txt", "old");
    ASSERT_EQ(::chmod((dir / "notes.txt").c_str(), 0640), 0);
    if (::geteuid() == 0) {
        // Root may give the file any group; the replacement must carry it over.
        ASSERT_EQ(::chown((dir / "notes.txt").c_str(), static_cast<uid_t>(-1), kNobody), 0);
    }
    const test::FileFacts before = factsOf(dir / "notes.txt");

    platform::AtomicFile file(dir / "notes.txt");
    ASSERT_TRUE(file.open()) << file.error();
    EXPECT_EQ(file.method(), platform::WriteMethod::Replace);
    ASSERT_TRUE(file.write("new "));
    ASSERT_TRUE(file.write("text"));
    EXPECT_EQ(readFile(dir / "notes.txt"), "old"); // nothing reaches it before commit
    ASSERT_TRUE(file.commit().ok()) << file.error();

    const test::FileFacts after = factsOf(dir / "notes.txt");
    EXPECT_EQ(after.bytes, "new text");
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(after.owner, before.owner);
    EXPECT_EQ(after.group, before.group);
    EXPECT_EQ(after.links, 1u);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicIdentity, extendedAttributesAndAclsSurviveTheReplacement) {
    const TempFolder dir;
    const std::string path = dir / "notes.txt";
    writeFile(path, "old");
    if (::setxattr(path.c_str(), "user.tavrel.note", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "this file system keeps no user attributes: " << std::strerror(errno);
    }
    // A POSIX ACL in its on-disk form: user::rw-, user:65534:r--, group::r--, mask::r--,
    // other::---; version 2, entries of tag (2 bytes), permission (2 bytes), id (4 bytes).
    const unsigned char acl[] = {2,    0, 0, 0,                          // version
                                 1,    0, 6, 0, 0xff, 0xff, 0xff, 0xff,  // user::rw-
                                 2,    0, 4, 0, 0xfe, 0xff, 0,    0,     // user:65534
                                 4,    0, 4, 0, 0xff, 0xff, 0xff, 0xff,  // group::r--
                                 0x10, 0, 4, 0, 0xff, 0xff, 0xff, 0xff,  // mask::r--
                                 0x20, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}; // other::---
    const bool hasAcl =
        ::setxattr(path.c_str(), "system.posix_acl_access", acl, sizeof acl, 0) == 0;

    ASSERT_TRUE(platform::writeFileAtomically(path, "new").ok());

    EXPECT_EQ(readFile(path), "new");
    char value[16] = {};
    ASSERT_EQ(::getxattr(path.c_str(), "user.tavrel.note", value, sizeof value), 4);
    EXPECT_EQ(std::string(value, 4), "kept");
    if (hasAcl) {
        unsigned char back[64] = {};
        const ssize_t size = ::getxattr(path.c_str(), "system.posix_acl_access", back, sizeof back);
        ASSERT_EQ(size, static_cast<ssize_t>(sizeof acl));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(back), sizeof acl),
                  std::string(reinterpret_cast<const char*>(acl), sizeof acl));
    }
}

TEST(AtomicIdentity, aFileOfAnotherUserKeepsItsOwnerAndInode) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a test file to another user";
    }
    const TempFolder dir;
    writeFile(dir / "theirs.txt", "old");
    ASSERT_EQ(::chown((dir / "theirs.txt").c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod((dir / "theirs.txt").c_str(), 0664), 0);
    const test::FileFacts before = factsOf(dir / "theirs.txt");

    ASSERT_TRUE(platform::writeFileAtomically(dir / "theirs.txt", "new").ok());

    const test::FileFacts after = factsOf(dir / "theirs.txt");
    EXPECT_EQ(after.bytes, "new");
    EXPECT_EQ(after.owner, kNobody);
    EXPECT_EQ(after.group, kNobody);
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicIdentity, aWritableFileInAReadOnlyFolderIsSavedInPlaceAsOrdinaryUser) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    const TempFolder dir;
    writeFile(dir / "art.nfo", "old");
    const test::FileFacts before = factsOf(dir / "art.nfo");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);

    const WriteStatus status = platform::writeFileAtomically(dir / "art.nfo", "new text");

    ASSERT_TRUE(status.ok()) << status.error;
    const test::FileFacts after = factsOf(dir / "art.nfo");
    EXPECT_EQ(after.bytes, "new text");
    EXPECT_EQ(after.inode, before.inode);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicIdentity, aFileWithoutWritePermissionIsRefusedAsOrdinaryUser) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    const TempFolder dir;
    writeFile(dir / "art.nfo", "old");
    ASSERT_EQ(::chmod((dir / "art.nfo").c_str(), 0444), 0);
    const WriteStatus status = platform::writeFileAtomically(dir / "art.nfo", "new");
    EXPECT_NE(status.error.find(dir / "art.nfo"), std::string::npos) << status.error;
    EXPECT_NE(status.error.find(std::strerror(EACCES)), std::string::npos) << status.error;
    EXPECT_EQ(readFile(dir / "art.nfo"), "old");
}

TEST(AtomicIdentity, aFifoWithoutReaderIsRefusedAndStaysAFifo) {
    const TempFolder dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    const WriteStatus status = platform::writeFileAtomically(dir / "pipe", "text");
    EXPECT_NE(status.error.find(dir / "pipe"), std::string::npos) << status.error;
    EXPECT_NE(status.error.find("FIFO"), std::string::npos) << status.error;
    EXPECT_TRUE(S_ISFIFO(factsOf(dir / "pipe").mode));
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicIdentity, aFifoWithAReaderReceivesTheBytes) {
    const TempFolder dir;
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    // Opened before the write, so that the writer finds a reader.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(platform::writeFileAtomically(pipe, "through the pipe").ok());
    char buffer[64] = {};
    const ssize_t got = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0), "through the pipe");
    EXPECT_TRUE(S_ISFIFO(factsOf(pipe).mode));
}

TEST(AtomicIdentity, aFifoWhoseReaderWentAwayFailsWithoutEndingTheProgram) {
    const TempFolder dir;
    const std::string pipe = dir / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    platform::AtomicFile file(pipe);
    ASSERT_TRUE(file.open()) << file.error();
    ::close(reader);
    // Without care this write raises SIGPIPE, whose default ends the process.
    EXPECT_FALSE(file.write("nobody reads this"));
    EXPECT_NE(file.error().find(std::strerror(EPIPE)), std::string::npos) << file.error();
    EXPECT_FALSE(file.commit().ok());
    EXPECT_TRUE(S_ISFIFO(factsOf(pipe).mode));
}

TEST(AtomicIdentity, characterDevicesAreWrittenThroughAndNeverReplaced) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make device nodes";
    }
    const TempFolder dir;
    // The null device takes anything; the full device answers every write with ENOSPC.
    if (::mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        ::mknod((dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "device nodes cannot be made here: " << std::strerror(errno);
    }
    const WriteStatus toNull = platform::writeFileAtomically(dir / "null", "GIF89a");
    if (!toNull.ok() && toNull.error.find(std::strerror(EACCES)) != std::string::npos) {
        GTEST_SKIP() << "device nodes cannot be opened here (nodev mount)";
    }
    EXPECT_TRUE(toNull.ok()) << toNull.error;
    const WriteStatus toFull = platform::writeFileAtomically(dir / "full", "GIF89a");
    EXPECT_NE(toFull.error.find(std::strerror(ENOSPC)), std::string::npos) << toFull.error;
    for (const char* name : {"null", "full"}) {
        const test::FileFacts facts = factsOf(dir / name);
        EXPECT_TRUE(S_ISCHR(facts.mode)) << name;
    }
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

TEST(AtomicIdentity, aStoppedSourceLeavesTheOldFileAndNoTemporaryFile) {
    const TempFolder dir;
    writeFile(dir / "one.txt", "old one");
    writeFile(dir / "two.txt", "old two");
    ASSERT_EQ(::link((dir / "two.txt").c_str(), (dir / "two-link.txt").c_str()), 0);
    for (const char* name : {"one.txt", "two.txt"}) {
        const WriteStatus status =
            platform::writeFileStreamed(dir / name, [](const ChunkSink& sink) {
                return sink("half of the ") && false; // the document could not be produced
            });
        EXPECT_FALSE(status.ok()) << name;
    }
    EXPECT_EQ(readFile(dir / "one.txt"), "old one");
    EXPECT_EQ(readFile(dir / "two.txt"), "old two");
    EXPECT_EQ(entriesIn(dir.path()), 3u);
}

} // namespace
} // namespace tavrel
