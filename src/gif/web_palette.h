// Reduction of true colour to the 216-colour web-safe cube, pixel by pixel without dithering.
// Entry 36r + 6g + b (r, g, b from 0 to 5) has the channel levels r*51, g*51, b*51.
#pragma once

#include "gif/color_table.h"
#include "gif/rgb_image.h"

#include <cstdint>

namespace tavrel {

inline constexpr int kWebPaletteSize = 216;

// Level of one 0-255 channel: (value + 3) div 51, so 0-47 -> 0, 48-98 -> 1, ..., 252-255 -> 5.
// Not nearest-level rounding; the thresholds are what the exported files have always used.
[[nodiscard]] constexpr int webLevel(int channel) noexcept {
    return (channel + 3) / 51;
}

[[nodiscard]] constexpr int webIndex(GifRgb color) noexcept {
    return 36 * webLevel(color.red) + 6 * webLevel(color.green) + webLevel(color.blue);
}

[[nodiscard]] GifColorTable webPalette();

// Writes image.width * image.height indices, rows top to bottom, into out. Alpha is ignored.
void reduceToWebPalette(const RgbImageView& image, std::uint8_t* out) noexcept;

} // namespace tavrel
