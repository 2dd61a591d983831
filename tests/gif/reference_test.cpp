// The committed reference files: each case must come out byte for byte, and each file must
// show the property it was made for when read by the independent decoder.
#include "gif/picture.h"
#include "gif/web_palette.h"

#include "reference_cases.h"
#include "support/gif_decoder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::vector<std::uint8_t> committed(const std::string& name) {
    std::ifstream in(std::string(TAVREL_SOURCE_DIR) + "/tests/gif/reference/" + name,
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> made(const std::string& name) {
    for (const gif_check::ReferenceCase& c : gif_check::referenceCases()) {
        if (name == c.fileName) {
            return c.make().saveToBytes();
        }
    }
    ADD_FAILURE() << "no reference case " << name;
    return {};
}

TEST(GifReference, everyCaseMatchesItsCommittedFile) {
    for (const gif_check::ReferenceCase& c : gif_check::referenceCases()) {
        const std::vector<std::uint8_t> expected = committed(c.fileName);
        ASSERT_FALSE(expected.empty()) << c.fileName << " is missing";
        EXPECT_EQ(c.make().saveToBytes(), expected)
            << c.fileName << " differs; if the change is meant, check the new bytes and run "
            << "the target tavrel_gif_regenerate_references";
    }
}

TEST(GifReference, onePixelIsTheThirtyFiveByteFile) {
    const std::uint8_t r = gif_check::kOnePixelRed, g = gif_check::kOnePixelGreen,
                       b = gif_check::kOnePixelBlue;
    const std::vector<std::uint8_t> expected = {
        0x47, 0x49, 0x46, 0x38, 0x37, 0x61, 0x01, 0x00, 0x01, 0x00, 0x88, 0x00,
        0x00, r,    g,    b,    0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
        0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3B};
    EXPECT_EQ(made("one_pixel.gif"), expected);
}

TEST(GifReference, twoColorsNeedNoPaddingAndMinimumCodeSizeTwo) {
    const std::vector<std::uint8_t> bytes = made("two_colors.gif");
    EXPECT_EQ(bytes[10], 0x88);
    EXPECT_EQ(bytes[13 + 6], 0x2C) << "the image follows two table entries directly";
    const gif_check::File file = gif_check::decode(bytes);
    EXPECT_EQ(file.globalTable.size(), 2u);
    EXPECT_EQ(file.images.at(0).packed, 0x00);
    EXPECT_EQ(file.images.at(0).minCodeSize, 2);
}

TEST(GifReference, webPaletteFillsTheTableAndPadsItWithFortyBlacks) {
    const std::vector<std::uint8_t> bytes = made("web_palette.gif");
    EXPECT_EQ(bytes[10], 0xFF);
    const gif_check::File file = gif_check::decode(bytes);
    ASSERT_EQ(file.globalTable.size(), 256u);
    const tavrel::GifColorTable web = tavrel::webPalette();
    for (int k = 0; k < 216; ++k) {
        EXPECT_EQ(file.globalTable[k], (gif_check::Rgb{web[k].red, web[k].green, web[k].blue}));
    }
    for (int k = 216; k < 256; ++k) {
        EXPECT_EQ(file.globalTable[k], (gif_check::Rgb{0, 0, 0})) << k;
    }
    EXPECT_EQ(bytes[13 + 768 + 10], 8) << "minimum code size";
}

TEST(GifReference, clearIsSentExactlyWhenTheDictionaryWouldTakeCode4095) {
    const gif_check::File file = gif_check::decode(made("clear_code.gif"));
    const gif_check::LzwStats& lzw = file.images.at(0).lzw;
    ASSERT_GE(lzw.clearNextFree.size(), 2u);
    for (int next : lzw.clearNextFree) {
        EXPECT_EQ(next, 4095);
    }
    EXPECT_EQ(lzw.maxWidth, 12);
    EXPECT_EQ(lzw.maxAssigned, 4094);
}

TEST(GifReference, exactlyTwoFullSubBlocksEndWithTheTerminator) {
    const std::vector<std::uint8_t> bytes = made("two_blocks.gif");
    const gif_check::File file = gif_check::decode(bytes);
    EXPECT_EQ(file.images.at(0).subBlockSizes, (std::vector<std::size_t>{255, 255}));
    // ... 255-byte block, 0 terminator, trailer.
    EXPECT_EQ(bytes[bytes.size() - 2 - 255 - 1], 255);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
}

TEST(GifReference, everyFileDecodesToItsPicture) {
    for (const gif_check::ReferenceCase& c : gif_check::referenceCases()) {
        const tavrel::GifPicture picture = c.make();
        const gif_check::File file = gif_check::decode(committed(c.fileName));
        ASSERT_EQ(file.images.size(), 1u) << c.fileName;
        const auto pixels = picture.frame(0).pixels();
        EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), file.images[0].indices.begin(),
                               file.images[0].indices.end()))
            << c.fileName;
    }
}

} // namespace
