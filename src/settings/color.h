// The colour value shared by the settings, the editor and the image export: 0x00BBGGRR
// (blue in the high byte); values from 0x80000000 name a system colour that the platform
// resolves when the colour is used.
#pragma once

#include <cstdint>

namespace tavrel {

using Color = std::uint32_t;

inline constexpr Color kSystemColorBase = 0x80000000u;

[[nodiscard]] constexpr Color rgbColor(std::uint8_t red, std::uint8_t green,
                                       std::uint8_t blue) noexcept {
    return Color{red} | (Color{green} << 8) | (Color{blue} << 16);
}

[[nodiscard]] constexpr std::uint8_t redOf(Color c) noexcept {
    return c & 0xFF;
}
[[nodiscard]] constexpr std::uint8_t greenOf(Color c) noexcept {
    return (c >> 8) & 0xFF;
}
[[nodiscard]] constexpr std::uint8_t blueOf(Color c) noexcept {
    return (c >> 16) & 0xFF;
}

[[nodiscard]] constexpr bool isSystemColor(Color c) noexcept {
    return c >= kSystemColorBase;
}

// The index of a system colour (scroll bar 0, background 1, ... info background 24).
[[nodiscard]] constexpr int systemColorIndex(Color c) noexcept {
    return static_cast<int>(c & 0xFF);
}

} // namespace tavrel
