// A borrowed view of a true-colour pixel buffer, the form in which a capture reaches the GIF
// library without a copy: 32-bit words 0xAARRGGBB in native byte order (a QImage in
// Format_RGB32 or Format_ARGB32 is exactly this), rows top to bottom, bytesPerLine apart.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavrel {

struct RgbImageView {
    const void* bits = nullptr; // first pixel of the top row; may be null when the image is empty
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::ptrdiff_t bytesPerLine = 0; // distance between row starts; negative for bottom-up buffers

    [[nodiscard]] const std::uint32_t* row(std::int64_t y) const noexcept {
        return reinterpret_cast<const std::uint32_t*>(static_cast<const unsigned char*>(bits) +
                                                      y * bytesPerLine);
    }
};

} // namespace tavrel
