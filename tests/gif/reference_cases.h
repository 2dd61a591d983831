// The pictures whose GIF files are committed under tests/gif/reference/: each is made the
// way the image export makes it (capture, background colour, optimised tables). The test
// compares against the files; tavrel_gif_regenerate_references rewrites them.
#pragma once

#include "gif/picture.h"

#include <span>

namespace gif_check {

struct ReferenceCase {
    const char* fileName;
    tavrel::GifPicture (*make)();
};

[[nodiscard]] std::span<const ReferenceCase> referenceCases();

// The colour of the one-pixel case, which the format's smallest file spells out byte by byte.
inline constexpr int kOnePixelRed = 204, kOnePixelGreen = 51, kOnePixelBlue = 0;
// Dimensions of the noise picture whose code stream is exactly two sub-blocks long.
inline constexpr int kTwoBlockWidth = 186, kTwoBlockHeight = 9;

} // namespace gif_check
