// The atomic writer: new files, replaced files keeping their permissions, symbolic links
// followed, and failures that leave the old file and no temporary file behind.
#include "platform/atomic_file.h"
#include "platform/temp_folder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;
using test::writeFile;

[[nodiscard]] std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(AtomicFile, createsANewFileWithTheUsualPermissions) {
    const TempFolder dir;
    const mode_t mask = ::umask(022);
    const WriteStatus status = platform::writeFileAtomically(dir / "Tavrel.ini", "[A]\r\n\r\n");
    ::umask(mask);
    ASSERT_TRUE(status.ok()) << status.error;
    EXPECT_EQ(readFile(dir / "Tavrel.ini"), "[A]\r\n\r\n");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "Tavrel.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFile, replacingKeepsTheOldFilesPermissions) {
    const TempFolder dir;
    writeFile(dir / "Tavrel.ini", "old");
    ASSERT_EQ(::chmod((dir / "Tavrel.ini").c_str(), 0640), 0);
    ASSERT_TRUE(platform::writeFileAtomically(dir / "Tavrel.ini", "new").ok());
    EXPECT_EQ(readFile(dir / "Tavrel.ini"), "new");
    struct stat info {};
    ASSERT_EQ(::stat((dir / "Tavrel.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicFile, writesThroughASymbolicLink) {
    const TempFolder dir;
    fs::create_directory(dir.path() / "real");
    writeFile(dir / "real/Tavrel.ini", "old");
    fs::create_symlink("real/Tavrel.ini", dir.path() / "Tavrel.ini"); // relative, as users make
    ASSERT_TRUE(platform::writeFileAtomically(dir / "Tavrel.ini", "new").ok());
    EXPECT_TRUE(fs::is_symlink(dir.path() / "Tavrel.ini"));
    EXPECT_EQ(readFile(dir / "real/Tavrel.ini"), "new");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
    EXPECT_EQ(entriesIn(dir.path() / "real"), 1u);
}

TEST(AtomicFile, aNewFileInAReadOnlyFolderFailsWithAMessageAsOrdinaryUser) {
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    // An existing writable file there is written in place; a new one has nowhere to go.
    const TempFolder dir;
    writeFile(dir / "other.ini", "old");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const WriteStatus status = platform::writeFileAtomically(dir / "Tavrel.ini", "new");
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.error.find(dir / "Tavrel.ini"), std::string::npos) << status.error;
    EXPECT_NE(status.error.find(std::strerror(EACCES)), std::string::npos) << status.error;
    EXPECT_EQ(readFile(dir / "other.ini"), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicFile, failuresThatStopRootToo) {
    const TempFolder dir;
    fs::create_directory(dir.path() / "Tavrel.ini");
    writeFile(dir / "plain", "x");
    for (const std::string& path :
         {dir / "Tavrel.ini", dir / "missing/Tavrel.ini", dir / "plain/Tavrel.ini"}) {
        const WriteStatus status = platform::writeFileAtomically(path, "new");
        EXPECT_FALSE(status.ok()) << path;
        EXPECT_NE(status.error.find(path), std::string::npos) << status.error;
    }
    EXPECT_TRUE(fs::is_directory(dir.path() / "Tavrel.ini"));
    EXPECT_EQ(readFile(dir / "plain"), "x");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
}

} // namespace
} // namespace tavrel
