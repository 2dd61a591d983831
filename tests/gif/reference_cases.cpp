// Builds the reference pictures. Changing one of them changes a committed file: regenerate
// the references and check the new bytes by hand.
#include "reference_cases.h"

#include "test_images.h"

#include <array>

namespace gif_check {

namespace {

// The editor's default background, dark blue, which reduces to web entry 1 (0, 0, 51).
constexpr tavrel::GifRgb kEditorBackground{0, 0, 74};

tavrel::GifPicture exported(const RgbBuffer& capture) {
    tavrel::GifPicture picture;
    picture.assign(capture.view());
    picture.setBackgroundColor(kEditorBackground);
    picture.optimizeColorTables();
    return picture;
}

tavrel::GifPicture onePixel() {
    RgbBuffer capture(1, 1, 0, argb(kOnePixelRed, kOnePixelGreen, kOnePixelBlue));
    return exported(capture);
}

// White strokes on the editor background: two colours, table of two, no padding.
tavrel::GifPicture twoColors() {
    RgbBuffer capture(16, 16, 3, argb(0, 0, 74));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if ((x * 3 + y * 5) % 7 < 2) {
                capture.set(x, y, argb(255, 255, 255));
            }
        }
    }
    return exported(capture);
}

// Every web colour once, each channel 3 below its level so that the +3 of the reduction
// matters; equal counts keep the palette order.
tavrel::GifPicture webPalette() {
    RgbBuffer capture(24, 9);
    for (int k = 0; k < 216; ++k) {
        const auto channel = [](int level) { return level == 0 ? 0 : level * 51 - 3; };
        capture.set(k % 24, k / 24, argb(channel(k / 36), channel(k / 6 % 6), channel(k % 6)));
    }
    return exported(capture);
}

RgbBuffer noise(int width, int height, std::span<const std::uint32_t> colors, std::uint32_t seed) {
    RgbBuffer capture(width, height);
    Lcg random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            capture.set(x, y, colors[random.below(static_cast<int>(colors.size()))]);
        }
    }
    return capture;
}

// Sixteen colours of noise fill the dictionary within a few thousand pixels.
tavrel::GifPicture clearCode() {
    std::array<std::uint32_t, 16> colors{};
    for (int i = 0; i < 16; ++i) {
        colors[i] = argb(i * 17, 255 - i * 17, (i * 85) % 256);
    }
    return exported(noise(160, 120, colors, 7));
}

tavrel::GifPicture twoBlocks() {
    constexpr std::array<std::uint32_t, 4> colors{argb(0, 0, 0), argb(255, 255, 255),
                                                  argb(255, 0, 0), argb(0, 0, 255)};
    return exported(noise(kTwoBlockWidth, kTwoBlockHeight, colors, 11));
}

constexpr std::array<ReferenceCase, 5> kCases{{
    {"one_pixel.gif", onePixel},
    {"two_colors.gif", twoColors},
    {"web_palette.gif", webPalette},
    {"clear_code.gif", clearCode},
    {"two_blocks.gif", twoBlocks},
}};

} // namespace

std::span<const ReferenceCase> referenceCases() {
    return kCases;
}

} // namespace gif_check
