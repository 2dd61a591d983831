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

// How a piece of a shape is filled: solid in the text colour, or with one of the shade
// dot patterns (the text colour on the dots, whatever lies beneath between them).
enum class ShapeFill : std::uint8_t { Solid, LightShade, MediumShade, DarkShade };

struct ShapeRect {
    CellRect rect;
    ShapeFill fill = ShapeFill::Solid;
};

// The shades' dot patterns as the PC's display font draws them: light sets a quarter of
// the dots, medium half (a checkerboard), dark three quarters (light's inverse). A pattern
// repeats every 4 dots across and 2 down and is anchored at the picture's origin, not at
// the cell, so that neighbouring cells of any size continue one another. `dot` is the
// size of one dot in device pixels (the scale factor, rounded).
[[nodiscard]] bool shadeDotSet(ShapeFill fill, std::int64_t x, std::int64_t y,
                               std::int32_t dot) noexcept;
// The dot size for a scale factor: whole device pixels, at least one.
[[nodiscard]] std::int32_t shadeDotSize(double scale) noexcept;

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
