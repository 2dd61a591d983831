// A synthetic 1920 x 1080 capture of dense text art, the kind of picture the image export
// writes: a corpus .nfo file drawn in 8 x 16 cells, block characters as blocks, other
// characters as fixed glyph-like bit patterns, in the editor's few colours.
#pragma once

#include "gif/rgb_image.h"

#include <cstdint>
#include <string>
#include <vector>

struct TextArtCapture {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::vector<std::uint32_t> pixels; // 0xAARRGGBB, rows without padding
    std::string source;                // what the text came from

    [[nodiscard]] tavrel::RgbImageView view() const {
        return {pixels.data(), width, height,
                static_cast<std::ptrdiff_t>(width * sizeof(std::uint32_t))};
    }
};

// Draws the file at nfoPath (or, when it cannot be read, generated text) into a capture.
[[nodiscard]] TextArtCapture makeTextArtCapture(const std::string& nfoPath, std::int64_t width,
                                                std::int64_t height);
