// The GIF writer's rules: version, screen and image descriptors, colour counts the code stream
// accepts, code widths on long runs, and a failing stream.
#include "gif/gif_error.h"
#include "gif/picture.h"

#include "support/gif_decoder.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

namespace tavrel {
namespace {

std::string errorOf(const GifPicture& picture) {
    try {
        (void)picture.saveToBytes();
    } catch (const GifError& e) {
        return e.what();
    }
    return "no error";
}

// A picture drawing on an optimised global table of `colors` entries, using each once.
GifPicture withGlobalColors(int colors) {
    GifPicture picture;
    GifFrame frame(colors, 1);
    for (int i = 0; i < colors; ++i) {
        picture.screen().globalTable.add({static_cast<std::uint8_t>(i), 0, 0});
        frame.pixels()[i] = static_cast<std::uint8_t>(i);
    }
    picture.screen().globalTable.setOptimized(true);
    picture.addFrame(std::move(frame));
    return picture;
}

TEST(GifWriter, aPictureWithoutFramesHasNoVersion) {
    EXPECT_EQ(errorOf(GifPicture()), "Unsupported GIF version");
}

TEST(GifWriter, screenPackedByteFollowsTheGlobalTableSize) {
    const std::pair<int, int> cases[] = {{1, 0x88},   {2, 0x88},  {3, 0x99},   {4, 0x99},
                                         {5, 0xAA},   {17, 0xCC}, {128, 0xEE}, {129, 0xFF},
                                         {216, 0xFF}, {256, 0xFF}};
    for (const auto& [colors, packed] : cases) {
        const std::vector<std::uint8_t> bytes = withGlobalColors(colors).saveToBytes();
        EXPECT_EQ(bytes[10], packed) << colors << " colours";
        const gif_check::File file = gif_check::decode(bytes);
        EXPECT_EQ(file.globalTable.size(), std::size_t{1} << bitsFor(colors));
        EXPECT_EQ(file.images.at(0).minCodeSize, std::max(bitsFor(colors), 2));
    }
}

TEST(GifWriter, anUnsortedGlobalTableClearsTheSortFlag) {
    GifPicture picture = withGlobalColors(17);
    picture.screen().globalTable.set(0, {1, 1, 1});
    EXPECT_EQ(picture.saveToBytes()[10], 0xC4);
}

TEST(GifWriter, onlyASortedLocalTableMakesTheFile89a) {
    GifPicture picture;
    GifFrame frame(2, 2);
    frame.localTable().add({1, 2, 3});
    frame.localTable().add({4, 5, 6});
    frame.localTable().add({7, 8, 9});
    picture.addFrame(frame);
    picture.screen().globalTable.add({0, 0, 0});
    picture.screen().globalTable.setOptimized(true);
    std::vector<std::uint8_t> bytes = picture.saveToBytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF87a");
    // Screen 13 bytes + global table of 2 entries: the descriptor's packed byte is at 13+6+9.
    EXPECT_EQ(bytes[13 + 6 + 9], 0x81) << "local table of 4, unsorted";

    picture.frame(0).localTable().setOptimized(true);
    bytes = picture.saveToBytes();
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a");
    EXPECT_EQ(bytes[13 + 6 + 9], 0xA1);
    const gif_check::File file = gif_check::decode(bytes);
    EXPECT_EQ(file.images.at(0).localTable.size(), 4u);
    EXPECT_EQ(file.images.at(0).localTable[3], (gif_check::Rgb{0, 0, 0}));
}

TEST(GifWriter, pixelsMustLieInTheirTable) {
    // A local table is taken at its count; the global one at its padded size.
    GifPicture local;
    GifFrame frame(3, 1);
    for (int i = 0; i < 3; ++i) {
        frame.localTable().add({static_cast<std::uint8_t>(i), 0, 0});
    }
    frame.pixels()[2] = 3;
    local.addFrame(frame);
    EXPECT_EQ(errorOf(local), "Color not in color table");

    GifPicture global = withGlobalColors(3);
    global.frame(0).pixels()[1] = 3;
    EXPECT_EQ(gif_check::decode(global.saveToBytes()).images.at(0).indices[1], 3);
    global.frame(0).pixels()[1] = 4;
    EXPECT_EQ(errorOf(global), "Color not in color table");
}

TEST(GifWriter, aFrameWithoutPixelsWritesNoImage) {
    GifPicture picture;
    picture.screen().globalTable.add({1, 1, 1});
    picture.addFrame(GifFrame(0, 0));
    const std::vector<std::uint8_t> bytes = picture.saveToBytes();
    EXPECT_EQ(bytes.size(), 13u + 6u + 1u);
    EXPECT_EQ(bytes.back(), 0x3B);
}

TEST(GifWriter, aLongRunClearsAtCode4095AndNeverPassesTwelveBits) {
    // One colour over 9 million pixels: runs of 1, 2, 3... pixels per code fill the
    // dictionary once.
    GifPicture picture = withGlobalColors(2);
    picture.frame(0) = GifFrame(3000, 3000);
    picture.frame(0).pixels()[0] = 1;
    const gif_check::File file = gif_check::decode(picture.saveToBytes());
    const gif_check::LzwStats& lzw = file.images.at(0).lzw;
    EXPECT_EQ(lzw.clearNextFree, std::vector<int>{4095});
    EXPECT_EQ(lzw.maxWidth, 12);
    EXPECT_EQ(lzw.maxAssigned, 4094);
    const std::vector<std::uint8_t>& pixels = file.images.at(0).indices;
    EXPECT_EQ(pixels[0], 1);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0), 3000 * 3000 - 1);
}

TEST(GifWriter, largestSizeIsWrittenInSixteenBits) {
    GifPicture picture = withGlobalColors(1);
    picture.frame(0) = GifFrame(65535, 2);
    picture.screen().width = 65535;
    picture.screen().height = 2;
    const gif_check::File file = gif_check::decode(picture.saveToBytes());
    EXPECT_EQ(file.width, 65535);
    EXPECT_EQ(file.images.at(0).width, 65535);
}

// A stream whose device refuses every byte, as a full disk would.
class RefusingBuffer : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(GifWriter, aFailingStreamIsReported) {
    RefusingBuffer buffer;
    std::ostream out(&buffer);
    EXPECT_THROW(withGlobalColors(2).saveToStream(out), GifError);

    std::ostringstream memory;
    const GifPicture picture = withGlobalColors(5);
    picture.saveToStream(memory);
    const std::string written = memory.str();
    EXPECT_EQ(std::vector<std::uint8_t>(written.begin(), written.end()), picture.saveToBytes());
}

TEST(GifWriter, anImageThatCannotBeEncodedPutsNothingIntoTheStream) {
    // Encoding comes first, so a caller streaming into a file never starts a broken image.
    std::ostringstream memory;
    EXPECT_THROW(GifPicture().saveToStream(memory), GifError);
    EXPECT_TRUE(memory.str().empty());
}

} // namespace
} // namespace tavrel
