// Captures of many sizes and colour mixes, exported and read back by the independent decoder:
// every pixel must show its web colour, computed here from the channel thresholds alone.
#include "gif/picture.h"

#include "support/gif_decoder.h"
#include "test_images.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using gif_check::argb;
using gif_check::Lcg;
using gif_check::RgbBuffer;

std::uint8_t webChannel(std::uint32_t value) {
    int level = 0;
    for (std::uint32_t threshold : {48u, 99u, 150u, 201u, 252u}) {
        level += value >= threshold ? 1 : 0;
    }
    return static_cast<std::uint8_t>(level * 51);
}

gif_check::Rgb expectedColor(std::uint32_t pixel) {
    return {webChannel((pixel >> 16) & 0xFF), webChannel((pixel >> 8) & 0xFF),
            webChannel(pixel & 0xFF)};
}

// Up to `colors` different random capture colours, laid out as noise or as long runs.
RgbBuffer makeCapture(int width, int height, int colors, bool runs, std::uint32_t seed) {
    Lcg random(seed);
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < colors; ++i) {
        palette.push_back(random.next() | 0xFF000000u);
    }
    RgbBuffer capture(width, height, random.below(3));
    std::uint32_t current = palette[0];
    int left = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!runs || left-- <= 0) {
                current = palette[random.below(colors)];
                left = random.below(5000);
            }
            capture.set(x, y, current);
        }
    }
    return capture;
}

void expectRoundTrip(const RgbBuffer& capture, bool optimize, const std::string& what) {
    tavrel::GifPicture picture;
    picture.assign(capture.view());
    if (optimize) {
        picture.setBackgroundColor({0, 0, 74});
        picture.optimizeColorTables();
    }
    const gif_check::File file = gif_check::decode(picture.saveToBytes());
    ASSERT_EQ(file.images.size(), 1u) << what;
    const gif_check::Image& image = file.images[0];
    ASSERT_EQ(image.width, capture.width()) << what;
    ASSERT_EQ(image.height, capture.height()) << what;
    for (int next : image.lzw.clearNextFree) {
        ASSERT_EQ(next, 4095) << what << ": Clear before the dictionary was full";
    }
    ASSERT_LE(image.lzw.maxWidth, 12) << what;
    std::size_t pixel = 0;
    for (std::int64_t y = 0; y < capture.height(); ++y) {
        for (std::int64_t x = 0; x < capture.width(); ++x, ++pixel) {
            ASSERT_EQ(file.colorAt(image, pixel), expectedColor(capture.at(x, y)))
                << what << " at " << x << "," << y;
        }
    }
}

TEST(GifRoundTrip, exportedCapturesDecodeToTheirReducedColors) {
    const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 5}, {64, 64}, {333, 77}, {1000, 700}};
    std::uint32_t seed = 1;
    for (const auto& [w, h] : sizes) {
        for (int colors : {1, 2, 5, 16, 100, 216, 1000}) {
            for (bool runs : {false, true}) {
                const RgbBuffer capture = makeCapture(w, h, colors, runs, seed++);
                expectRoundTrip(capture, true,
                                std::to_string(w) + "x" + std::to_string(h) + ", " +
                                    std::to_string(colors) + " colours" + (runs ? ", runs" : ""));
            }
        }
    }
}

TEST(GifRoundTrip, unoptimisedPicturesWriteTheWebPaletteAsLocalTable) {
    const RgbBuffer capture = makeCapture(97, 31, 216, false, 99);
    expectRoundTrip(capture, false, "local table");
}

TEST(GifRoundTrip, everyWebColorSurvivesInEveryPosition) {
    // All 216 colours in a gradient-like sweep, so every table index carries a colour.
    RgbBuffer capture(216, 3);
    for (int x = 0; x < 216; ++x) {
        for (int y = 0; y < 3; ++y) {
            capture.set(x, y, argb((x / 36) * 51, (x / 6 % 6) * 51 + y, (x % 6) * 51));
        }
    }
    expectRoundTrip(capture, true, "web sweep");
}

} // namespace
