// Reduction of a capture to the web palette: the channel thresholds, the channel order of the
// 0xAARRGGBB words, strides, and what assigning does to the picture.
#include "gif/gif_error.h"
#include "gif/picture.h"
#include "gif/web_palette.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace tavrel {
namespace {

using gif_check::argb;
using gif_check::RgbBuffer;

int reducedIndex(std::uint32_t pixel) {
    RgbBuffer capture(1, 1, 0, pixel);
    GifPicture picture;
    picture.assign(capture.view());
    return picture.frame(0).pixels()[0];
}

TEST(GifWebPalette, channelLevelsChangeAtTheirThresholds) {
    // Level boundaries, including 47/48 and 251/252 where the +3 bias shows.
    const std::pair<int, int> cases[] = {{0, 0},   {47, 0},  {48, 1},  {98, 1},
                                         {99, 2},  {149, 2}, {150, 3}, {200, 3},
                                         {201, 4}, {251, 4}, {252, 5}, {255, 5}};
    for (const auto& [value, level] : cases) {
        EXPECT_EQ(reducedIndex(argb(value, 0, 0)), 36 * level) << "red " << value;
        EXPECT_EQ(reducedIndex(argb(0, value, 0)), 6 * level) << "green " << value;
        EXPECT_EQ(reducedIndex(argb(0, 0, value)), level) << "blue " << value;
    }
}

TEST(GifWebPalette, editorDefaultsReduceToDarkBlueAndWhite) {
    EXPECT_EQ(reducedIndex(argb(0, 0, 74)), 1);
    EXPECT_EQ(reducedIndex(argb(255, 255, 255)), 215);
    EXPECT_EQ(reducedIndex(argb(255, 255, 255, 0)), 215) << "alpha must not matter";
}

TEST(GifWebPalette, paletteEntriesAreTheCubeInRedGreenBlueOrder) {
    const GifColorTable palette = webPalette();
    ASSERT_EQ(palette.count(), 216);
    EXPECT_EQ(palette[0], (GifRgb{0, 0, 0}));
    EXPECT_EQ(palette[1], (GifRgb{0, 0, 51}));
    EXPECT_EQ(palette[6], (GifRgb{0, 51, 0}));
    EXPECT_EQ(palette[36], (GifRgb{51, 0, 0}));
    EXPECT_EQ(palette[215], (GifRgb{255, 255, 255}));
    for (int k = 0; k < 216; ++k) {
        EXPECT_EQ(webIndex(palette[k]), k);
    }
}

TEST(GifAssign, makesOneFrameOfTheCaptureWithTheWebPaletteAsLocalTable) {
    GifPicture picture;
    picture.screen().globalTable.add({1, 2, 3});
    picture.addFrame(GifFrame(3, 3));
    picture.addFrame(GifFrame(900, 2));

    RgbBuffer capture(5, 4, 3); // three words of padding after each row
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            capture.set(x, y, argb(x * 51, y * 51, 0));
        }
    }
    picture.assign(capture.view());

    ASSERT_EQ(picture.frameCount(), 1u);
    EXPECT_EQ(picture.screen().width, 5);
    EXPECT_EQ(picture.screen().height, 4);
    EXPECT_TRUE(picture.screen().globalTable.empty());
    const GifFrame& frame = picture.frame(0);
    EXPECT_EQ(frame.width(), 5);
    EXPECT_EQ(frame.height(), 4);
    EXPECT_TRUE(frame.localTable() == webPalette());
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(frame.pixels()[y * 5 + x], 36 * x + 6 * y) << x << "," << y;
        }
    }
}

TEST(GifAssign, readsBottomUpBuffersThroughANegativeStride) {
    RgbBuffer capture(2, 3);
    for (int y = 0; y < 3; ++y) {
        capture.set(0, y, argb(0, 0, y * 51));
    }
    RgbImageView view = capture.view();
    view.bits = static_cast<const unsigned char*>(view.bits) + 2 * view.bytesPerLine;
    view.bytesPerLine = -view.bytesPerLine;
    GifPicture picture;
    picture.assign(view);
    EXPECT_EQ(picture.frame(0).pixels()[0], 2);
    EXPECT_EQ(picture.frame(0).pixels()[4], 0);
}

TEST(GifAssign, anEmptyCaptureGivesAFrameWithoutPixels) {
    GifPicture picture;
    picture.assign(RgbImageView{nullptr, 0, 7, 0});
    ASSERT_EQ(picture.frameCount(), 1u);
    EXPECT_TRUE(picture.frame(0).empty());
}

TEST(GifAssign, refusesSizesTheFormatCannotHoldAndKeepsThePicture) {
    GifPicture picture;
    RgbBuffer small(2, 2);
    picture.assign(small.view());
    for (const auto& [w, h] : {std::pair<std::int64_t, std::int64_t>{65536, 1}, {1, 70000}}) {
        try {
            // No buffer is needed: the size is refused before any pixel is read.
            picture.assign(RgbImageView{small.view().bits, w, h, 4 * w});
            FAIL() << w << " x " << h << " was accepted";
        } catch (const GifError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(std::to_string(w) + " x " + std::to_string(h)),
                      std::string::npos)
                << message;
            EXPECT_NE(message.find("65535"), std::string::npos) << message;
        }
    }
    EXPECT_EQ(picture.screen().width, 2);
    EXPECT_NO_THROW(GifFrame(65535, 1));
    EXPECT_THROW(GifFrame(10, 10, 65530, 0), GifError) << "the frame's right edge is the limit";
    EXPECT_THROW(GifFrame(INT64_MAX, 1, 5, 0), GifError);
    EXPECT_THROW(GifFrame(-1, 1), GifError);
    EXPECT_THROW(GifFrame(1, 1, 0, -3), GifError);
}

} // namespace
} // namespace tavrel
