// Saving to a named file: the bytes, replacing an old file, and failures that must leave
// neither a truncated image nor a stray temporary file behind.
#include "gif/gif_error.h"
#include "gif/picture.h"

#include "support/temp_folder.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class GifSaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = temp_.path();
        gif_check::RgbBuffer capture(9, 4, 0, gif_check::argb(0, 0, 74));
        capture.set(3, 2, gif_check::argb(255, 255, 255));
        picture_.assign(capture.view());
        picture_.optimizeColorTables();
    }
    static std::vector<std::uint8_t> contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    [[nodiscard]] std::size_t entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    tavrel::test::TempFolder temp_; // a folder of its own, removed with all it holds
    fs::path folder_;
    tavrel::GifPicture picture_;
};

TEST_F(GifSaveFile, writesTheImageAndReplacesAnOldFile) {
    const fs::path target = folder_ / "picture.gif";
    std::ofstream(target) << "an older, longer file that must go entirely";
    picture_.saveToFile(target);
    EXPECT_EQ(contents(target), picture_.saveToBytes());
    EXPECT_EQ(entries(), 1u) << "no temporary file may stay behind";
}

TEST_F(GifSaveFile, aMissingFolderIsReportedWithTheFileName) {
    const fs::path target = folder_ / "no such folder" / "picture.gif";
    try {
        picture_.saveToFile(target);
        FAIL() << "saving into a missing folder succeeded";
    } catch (const tavrel::GifError& e) {
        EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(entries(), 0u);
}

TEST_F(GifSaveFile, aTargetThatCannotBeReplacedKeepsItsContents) {
    const fs::path target = folder_ / "taken.gif";
    fs::create_directory(target);
    std::ofstream(target / "inside.txt") << "kept";
    EXPECT_THROW(picture_.saveToFile(target), tavrel::GifError);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_TRUE(fs::exists(target / "inside.txt"));
    EXPECT_EQ(entries(), 1u) << "the temporary file must be removed";
}

TEST_F(GifSaveFile, anImageThatCannotBeEncodedLeavesTheOldFileAlone) {
    const fs::path target = folder_ / "picture.gif";
    std::ofstream(target) << "old";
    EXPECT_THROW(tavrel::GifPicture().saveToFile(target), tavrel::GifError);
    EXPECT_EQ(contents(target), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(entries(), 1u);
}

} // namespace
