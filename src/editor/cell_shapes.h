// The shapes of the code page 437 block, shade and box-drawing characters as rectangles in
// a cell of whole device pixels. Drawn this way instead of taken from a font, solid blocks
// fill their cell to the pixel and lines meet the next cell's lines without seams, whatever
// the font size, line height or scale factor.
#pragma once

#include <cstdint>

namespace tavrel {

// A rectangle of device pixels, [x0, x1) x [y0, y1).
struct CellRect {
    std::int32_t x0 = 0;
    std::int32_t y0 = 0;
    std::int32_t x1 = 0;
    std::int32_t y1 = 0;

    friend bool operator==(const CellRect&, const CellRect&) = default;
};

// One piece of a shape: a rectangle in the text colour at the given opacity (255 solid;
// the shades blend the text colour over what lies beneath).
struct ShapeRect {
    CellRect rect;
    std::uint8_t alpha = 255;
};

inline constexpr int kMaxShapeRects = 8;

// Thickness of single lines for a cell of this size; the caller computes it once from
// the font's nominal cell so that every cell of a picture uses the same one.
[[nodiscard]] std::int32_t shapeLineThickness(std::int32_t cellWidth,
                                              std::int32_t cellHeight) noexcept;

// Writes the rectangles of `byte` (one for which isCellShape holds) in `cell` into `out`
// and returns how many; 0 for any other byte.
int cellShapeRects(std::uint8_t byte, const CellRect& cell, std::int32_t thickness,
                   ShapeRect (&out)[kMaxShapeRects]) noexcept;

// True when cells of this byte placed side by side form one unbroken band, so a run of
// them may be drawn as one rectangle set spanning the run.
[[nodiscard]] bool tilesHorizontally(std::uint8_t byte) noexcept;

} // namespace tavrel
