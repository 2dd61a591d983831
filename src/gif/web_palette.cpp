// The web palette and the reduction loop. The loop is on the export's hot path (a full-screen
// capture is two million pixels), so it is written to be vectorised.
#include "gif/web_palette.h"

namespace tavrel {

namespace {

// (value + 3) div 51 as a 16-bit multiply keeping the high half, exact for every 0-255
// channel value: the form that vectorises to one multiply instruction per eight channels.
inline std::uint16_t levelOf(std::uint32_t channel) noexcept {
    return static_cast<std::uint16_t>(
        (static_cast<std::uint32_t>(static_cast<std::uint16_t>(channel + 3)) * 1286u) >> 16);
}

inline std::uint8_t webIndexOf(std::uint32_t argb) noexcept {
    return static_cast<std::uint8_t>(36 * levelOf((argb >> 16) & 0xFF) +
                                     6 * levelOf((argb >> 8) & 0xFF) + levelOf(argb & 0xFF));
}

static_assert([] {
    for (int v = 0; v < 256; ++v) {
        if (((v + 3) * 1286) >> 16 != webLevel(v)) {
            return false;
        }
    }
    return true;
}());

void reduceRow(const std::uint32_t* __restrict in, std::uint8_t* __restrict out,
               std::int64_t width) noexcept {
    std::int64_t x = 0;
    // Fixed-size blocks: the form the optimiser vectorises at -O2 (no aliasing, no epilogue).
    for (; x + 16 <= width; x += 16) {
        for (int k = 0; k < 16; ++k) {
            out[x + k] = webIndexOf(in[x + k]);
        }
    }
    for (; x < width; ++x) {
        out[x] = webIndexOf(in[x]);
    }
}

} // namespace

GifColorTable webPalette() {
    GifColorTable table;
    for (int r = 0; r < 6; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                table.add({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                           static_cast<std::uint8_t>(b * 51)});
            }
        }
    }
    return table;
}

void reduceToWebPalette(const RgbImageView& image, std::uint8_t* out) noexcept {
    for (std::int64_t y = 0; y < image.height; ++y) {
        reduceRow(image.row(y), out + y * image.width, image.width);
    }
}

} // namespace tavrel
