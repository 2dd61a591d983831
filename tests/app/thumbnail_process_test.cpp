// "tavrel --thumbnail SIZE INPUT OUTPUT" run as a file manager runs it, with no display: a
// PNG (read back by the tests' own reader) that fits the size, shows the art, in the window's
// white on dark blue; a huge, binary or endless file gives its first screen quickly instead of
// being read whole.
#include "program_run.h"
#include "support/corpus.h"
#include "support/memory_limit.h"
#include "support/png_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace tavrel::test {
namespace {

// The window's colours as the help describes them: white text on dark blue (0, 0, 74).
constexpr std::uint32_t kDarkBlue = 0x00004A;

std::optional<PngPixels> thumbnail(const TempFolder& folder, const std::string& size,
                                   const std::string& file, const std::string& before = {}) {
    const std::string output = folder / "out.png";
    std::remove(output.c_str());
    const ProgramRun run = runProgram(
        folder, "--thumbnail " + size + " " + quoted(file) + " " + quoted(output), before);
    EXPECT_EQ(run.status, 0) << file << ": " << run.err;
    std::string error;
    auto pixels = decodePng(readFile(output), error);
    EXPECT_TRUE(pixels) << file << ": " << error;
    return pixels;
}

// Smoothly reduced text is the two colours and blends of them, nothing else.
bool blendOfWhiteOnDarkBlue(std::uint32_t rgb) {
    const int r = static_cast<int>(rgb >> 16);
    const int g = static_cast<int>((rgb >> 8) & 0xFF);
    const int b = static_cast<int>(rgb & 0xFF);
    const int blue = 74 + (255 - 74) * r / 255;
    return std::abs(r - g) <= 4 && std::abs(b - blue) <= 6;
}

TEST(ThumbnailProcess, asAFileManagerRunsItTheArtFitsInTheWindowsColours) {
    TempFolder folder;
    const auto image = thumbnail(folder, "128", (corpusDir() / "nfo/emerge.nfo").string());
    ASSERT_TRUE(image);
    EXPECT_LE(image->width, 128u);
    EXPECT_LE(image->height, 128u);
    EXPECT_EQ(std::max(image->width, image->height), 128u) << "not reduced to fit";
    std::map<std::uint32_t, int> counts;
    int light = 0;
    for (const std::uint32_t rgb : image->rgb) {
        ++counts[rgb];
        light += (rgb >> 16) >= 0xC0 ? 1 : 0;
        ASSERT_TRUE(blendOfWhiteOnDarkBlue(rgb)) << std::hex << rgb;
    }
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](auto& a, auto& b) { return a.second < b.second; });
    EXPECT_EQ(most->first, kDarkBlue);
    // The rocket of the art is mostly white.
    EXPECT_GT(light, static_cast<int>(image->rgb.size() / 8)) << "blank";
}

TEST(ThumbnailProcess, hugeBinaryOrEndlessFilesGiveTheirFirstScreen) {
    TempFolder folder;
    // Read whole, 8 GB would pass the memory the program is given here (sanitizer builds
    // reserve more address space than that: there it runs without the limit).
    const std::string sparse = folder / "sparse.nfo";
    ASSERT_EQ(std::system(("truncate -s 8G " + quoted(sparse)).c_str()), 0);
    const auto empty =
        thumbnail(folder, "128", sparse, addressSpaceLimitUsable() ? "ulimit -v 1500000;" : "");
    ASSERT_TRUE(empty);
    EXPECT_LE(std::max(empty->width, empty->height), 128u);

    const std::string binary = folder / "binary.nfo";
    ASSERT_EQ(std::system(("head -c 3000000 /dev/urandom >" + quoted(binary)).c_str()), 0);
    const auto noise = thumbnail(folder, "128", binary);
    ASSERT_TRUE(noise);
    EXPECT_EQ(std::max(noise->width, noise->height), 128u);

    // Unreduced, a line's height and the first screen of 100000 lines: about as high as wide.
    const std::string one = folder / "one.nfo";
    const std::string many = folder / "many.nfo";
    std::string lines;
    for (int i = 0; i < 100000; ++i) {
        lines += std::string(79, static_cast<char>(0xDB)) + "\r\n";
    }
    writeFile(one, std::string(79, static_cast<char>(0xDB)) + "\r\n");
    writeFile(many, lines);
    const auto line = thumbnail(folder, "4096", one);
    const auto screen = thumbnail(folder, "4096", many);
    ASSERT_TRUE(line && screen);
    EXPECT_EQ(line->width, screen->width);
    const std::uint32_t lineHeight = line->height / 2; // the line and the empty one after it
    EXPECT_EQ(screen->height % lineHeight, 0u);
    EXPECT_LT(screen->height, screen->width + lineHeight);
    EXPECT_GE(screen->height + lineHeight, screen->width);
}

TEST(ThumbnailProcess, aFileThatCannotBeReadIsOneLineAndStatusOne) {
    TempFolder folder;
    const ProgramRun run = runProgram(folder, "--thumbnail 128 " + quoted(folder / "missing.nfo") +
                                                  " " + quoted(folder / "o.png"));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("missing.nfo does not exist"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "o.png"));
}

} // namespace
} // namespace tavrel::test
