// Path questions start-up asks: what counts as a file, folder creation with parents, the
// write-access test, and where the per-user and program folders are.
#include "platform/paths.h"
#include "platform/scoped_env.h"
#include "platform/write_access.h"
#include "support/temp_folder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tavrel {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempFolder;
using test::writeFile;

TEST(Paths, onlyAnExistingNonDirectoryIsAFile) {
    const TempFolder dir;
    writeFile(dir / "usb.dat", "");
    fs::create_directory(dir.path() / "folder");
    fs::create_symlink("usb.dat", dir.path() / "link");
    fs::create_symlink("nowhere", dir.path() / "dangling");
    EXPECT_TRUE(platform::isFile(dir / "usb.dat"));
    EXPECT_TRUE(platform::isFile(dir / "link"));
    EXPECT_FALSE(platform::isFile(dir / "folder"));
    EXPECT_FALSE(platform::isFile(dir / "dangling"));
    EXPECT_FALSE(platform::isFile(dir / "missing"));
    EXPECT_TRUE(platform::isDirectory(dir / "folder"));
    EXPECT_FALSE(platform::isDirectory(dir / "usb.dat"));
}

TEST(Paths, sameFileIsTheFileSystemsAnswerNotTheSpelling) {
    const TempFolder dir;
    writeFile(dir / "case.txt", "a");
    writeFile(dir / "CASE.txt", "b");
    fs::create_symlink("case.txt", dir.path() / "Case.txt");
    // The temporary folder lies on a case-sensitive file system here.
    EXPECT_FALSE(platform::isSameFile(dir / "case.txt", dir / "CASE.txt"));
    EXPECT_TRUE(platform::isSameFile(dir / "case.txt", dir / "case.txt"));
    EXPECT_TRUE(platform::isSameFile(dir / "case.txt", dir / "Case.txt"));
    EXPECT_FALSE(platform::isSameFile(dir / "case.txt", dir / "missing.txt"));
    EXPECT_FALSE(platform::isSameFile(dir / "missing.txt", dir / "missing.txt"));
}

TEST(Paths, makeFoldersCreatesEveryMissingParent) {
    const TempFolder dir;
    platform::makeFolders(dir / "a/b/c/Velmantic/Tavrel/");
    EXPECT_TRUE(fs::is_directory(dir.path() / "a/b/c/Velmantic/Tavrel"));
    platform::makeFolders(dir / "a/b/c/Velmantic/Tavrel/"); // already there: nothing happens
    writeFile(dir / "file", "x");
    platform::makeFolders(dir / "file/sub"); // impossible: silently left alone
    EXPECT_FALSE(fs::exists(dir.path() / "file/sub"));
}

TEST(Paths, writeAccessFollowsTheEffectivePermissions) {
    const TempFolder dir;
    EXPECT_TRUE(platform::canWrite(dir.folderText()));
    EXPECT_FALSE(platform::canWrite(dir / "missing/"));
    if (test::runningAsRoot()) {
        GTEST_SKIP() << test::kRootSkipReason;
    }
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(platform::canWrite(dir.folderText()));
}

TEST(Paths, programFolderIsTheExecutablesFolderWithASlash) {
    const std::string folder = platform::programFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(fs::canonical(folder), fs::canonical(fs::path(TAVREL_BINARY_DIR) / "tests/platform"));
}

TEST(Paths, userConfigFolderFollowsXdgConfigHomeElseHome) {
    const TempFolder dir;
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", (dir.folderText() + "/").c_str());
        EXPECT_EQ(platform::userConfigFolder(), dir.path().string());
    }
    const ScopedEnv xdg("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv home("HOME", dir.path().c_str());
    EXPECT_EQ(platform::userConfigFolder(), dir / ".config");
}

} // namespace
} // namespace tavrel
