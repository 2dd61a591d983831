// The file move: renames, replacement, refusal without replacement, and the copy path used
// across file systems.
#include "platform/file_move.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempFolder;
using test::writeFile;

TEST(FileMove, replacesTheTargetWhenAsked) {
    const TempFolder dir;
    fs::create_directory(dir.path() / "user");
    writeFile(dir / "highlight.dat", "new");
    writeFile(dir / "user/highlight.dat", "old");
    EXPECT_TRUE(platform::moveFile(dir / "highlight.dat", dir / "user/highlight.dat", true));
    EXPECT_FALSE(fs::exists(dir.path() / "highlight.dat"));
    EXPECT_EQ(readFile(dir / "user/highlight.dat"), "new");
}

TEST(FileMove, anExistingTargetStopsAMoveWithoutReplace) {
    const TempFolder dir;
    writeFile(dir / "a", "new");
    writeFile(dir / "b", "old");
    EXPECT_FALSE(platform::moveFile(dir / "a", dir / "b", false));
    EXPECT_EQ(readFile(dir / "a"), "new");
    EXPECT_EQ(readFile(dir / "b"), "old");
    EXPECT_TRUE(platform::moveFile(dir / "a", dir / "c", false));
    EXPECT_EQ(readFile(dir / "c"), "new");
}

TEST(FileMove, aMissingSourceFailsAndLeavesTheTarget) {
    const TempFolder dir;
    writeFile(dir / "b", "old");
    EXPECT_FALSE(platform::moveFile(dir / "a", dir / "b", true));
    EXPECT_EQ(readFile(dir / "b"), "old");
}

TEST(FileMove, copiesAcrossFileSystems) {
    const TempFolder disk;
    if (!fs::is_directory("/dev/shm")) {
        GTEST_SKIP() << "no /dev/shm to stand for a second file system";
    }
    const TempFolder other("/dev/shm");
    struct stat a {
    }, b{};
    ASSERT_EQ(::stat(disk.path().c_str(), &a), 0);
    ASSERT_EQ(::stat(other.path().c_str(), &b), 0);
    if (a.st_dev == b.st_dev) {
        GTEST_SKIP() << "/dev/shm and the temporary folder share a file system here";
    }
    writeFile(disk / "Tavrel.ini", "[Info]\r\n");
    ASSERT_EQ(::chmod((disk / "Tavrel.ini").c_str(), 0600), 0);
    writeFile(other / "Tavrel.ini", "older");
    EXPECT_TRUE(platform::moveFile(disk / "Tavrel.ini", other / "Tavrel.ini", true));
    EXPECT_FALSE(fs::exists(disk.path() / "Tavrel.ini"));
    EXPECT_EQ(readFile(other / "Tavrel.ini"), "[Info]\r\n");

    writeFile(disk / "highlight.dat", "words");
    ASSERT_EQ(::chmod((disk / "highlight.dat").c_str(), 0600), 0);
    EXPECT_TRUE(platform::moveFile(disk / "highlight.dat", other / "highlight.dat", true));
    struct stat moved {};
    ASSERT_EQ(::stat((other / "highlight.dat").c_str(), &moved), 0);
    EXPECT_EQ(moved.st_mode & 0777, 0600u); // a new target takes the source's permissions
}

} // namespace
} // namespace tavrel
