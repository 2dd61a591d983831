// The web palette and the reduction loop. The loop is on the export's hot path (a full-screen
// capture is two million pixels), so each channel's contribution comes from a lookup table.
#include "gif/web_palette.h"

#include <array>

namespace tavrel {

namespace {

struct ChannelTables {
    std::array<std::uint8_t, 256> red{};
    std::array<std::uint8_t, 256> green{};
    std::array<std::uint8_t, 256> blue{};
};

constexpr ChannelTables makeChannelTables() {
    ChannelTables t;
    for (int v = 0; v < 256; ++v) {
        t.red[v] = static_cast<std::uint8_t>(36 * webLevel(v));
        t.green[v] = static_cast<std::uint8_t>(6 * webLevel(v));
        t.blue[v] = static_cast<std::uint8_t>(webLevel(v));
    }
    return t;
}

constexpr ChannelTables kChannels = makeChannelTables();

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
        const std::uint32_t* in = image.row(y);
        for (std::int64_t x = 0; x < image.width; ++x) {
            const std::uint32_t p = in[x];
            *out++ = static_cast<std::uint8_t>(kChannels.red[(p >> 16) & 0xFF] +
                                               kChannels.green[(p >> 8) & 0xFF] +
                                               kChannels.blue[p & 0xFF]);
        }
    }
}

} // namespace tavrel
