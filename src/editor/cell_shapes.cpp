// Geometry of the block elements, shades and box-drawing lines. Box characters are given
// by their four arms (up, down, left, right; none, single or double); one routine draws the
// arms along one axis and is run twice with the axes swapped, so every join of singles and
// doubles follows the same rules as the PC's own glyphs.
#include "editor/cell_shapes.h"

#include <algorithm>

namespace tavrel {
namespace {

struct Arms {
    std::uint8_t up, down, left, right;
};

// Arms of the box-drawing bytes 179 to 218, in code order.
constexpr Arms kBoxArms[40] = {
    {1, 1, 0, 0}, {1, 1, 1, 0}, {1, 1, 2, 0}, {2, 2, 1, 0}, {0, 2, 1, 0}, // │ ┤ ╡ ╢ ╖
    {0, 1, 2, 0}, {2, 2, 2, 0}, {2, 2, 0, 0}, {0, 2, 2, 0}, {2, 0, 2, 0}, // ╕ ╣ ║ ╗ ╝
    {2, 0, 1, 0}, {1, 0, 2, 0}, {0, 1, 1, 0}, {1, 0, 0, 1}, {1, 0, 1, 1}, // ╜ ╛ ┐ └ ┴
    {0, 1, 1, 1}, {1, 1, 0, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}, {1, 1, 0, 2}, // ┬ ├ ─ ┼ ╞
    {2, 2, 0, 1}, {2, 0, 0, 2}, {0, 2, 0, 2}, {2, 0, 2, 2}, {0, 2, 2, 2}, // ╟ ╚ ╔ ╩ ╦
    {2, 2, 0, 2}, {0, 0, 2, 2}, {2, 2, 2, 2}, {1, 0, 2, 2}, {2, 0, 1, 1}, // ╠ ═ ╬ ╧ ╨
    {0, 1, 2, 2}, {0, 2, 1, 1}, {2, 0, 0, 1}, {1, 0, 0, 2}, {0, 1, 0, 2}, // ╤ ╥ ╙ ╘ ╒
    {0, 2, 0, 1}, {2, 2, 1, 1}, {1, 1, 2, 2}, {1, 0, 1, 0}, {0, 1, 0, 1}, // ╓ ╫ ╪ ┘ ┌
};

class RectSink {
public:
    RectSink(const CellRect& cell, ShapeRect (&out)[kMaxShapeRects]) : cell_(cell), out_(out) {}

    void add(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
             ShapeFill fill = ShapeFill::Solid) noexcept {
        x0 = std::max(x0, cell_.x0);
        y0 = std::max(y0, cell_.y0);
        x1 = std::min(x1, cell_.x1);
        y1 = std::min(y1, cell_.y1);
        if (x0 < x1 && y0 < y1 && count_ < kMaxShapeRects) {
            out_[count_++] = ShapeRect{CellRect{x0, y0, x1, y1}, fill};
        }
    }
    [[nodiscard]] int count() const noexcept { return count_; }

private:
    CellRect cell_;
    ShapeRect (&out_)[kMaxShapeRects];
    int count_ = 0;
};

// The arms along one axis. "Along" runs from a0 to a1 with the crossing strokes' centre
// stroke starting at ca; "across" has the centre stroke starting at cb. The minus arm runs
// from a0 towards the centre, the plus arm from the centre to a1; perpMinus/perpPlus are
// the weights of the arms across (they decide where these strokes stop).
template <typename Emit>
void drawAxis(int minus, int plus, int perpMinus, int perpPlus, std::int32_t a0, std::int32_t a1,
              std::int32_t ca, std::int32_t cb, std::int32_t t, Emit emit) {
    if (minus == 0 && plus == 0) {
        return;
    }
    const int perp = std::max(perpMinus, perpPlus);
    const int weight = std::max(minus, plus);
    auto strokes = [&](std::int32_t b0, std::int32_t end, std::int32_t start, bool through) {
        if (minus != 0 && plus != 0 && through) {
            emit(a0, a1, b0, b0 + t);
            return;
        }
        if (minus != 0) {
            emit(a0, end, b0, b0 + t);
        }
        if (plus != 0) {
            emit(start, a1, b0, b0 + t);
        }
    };
    if (weight == 1) {
        if (perp == 2) {
            // Against a double line: stop at its near stroke when it runs both ways, else
            // cover both strokes (a corner or tee of the double line).
            const bool both = perpMinus != 0 && perpPlus != 0;
            strokes(cb, both ? ca : ca + 2 * t, both ? ca + t : ca - t, true);
        } else {
            strokes(cb, ca + t, ca, true);
        }
        return;
    }
    // Double: the stroke on the minus side meets the perpMinus arm, the other the perpPlus.
    const int sideArm[2] = {perpMinus, perpPlus};
    const std::int32_t band[2] = {cb - t, cb + t};
    for (int s = 0; s < 2; ++s) {
        if (perp == 2) {
            const bool inner = sideArm[s] != 0;
            strokes(band[s], inner ? ca : ca + 2 * t, inner ? ca + t : ca - t, !inner);
        } else {
            strokes(band[s], ca + t, ca, true);
        }
    }
}

void boxLines(const Arms& arms, const CellRect& c, std::int32_t t, RectSink& sink) {
    const std::int32_t cx = c.x0 + (c.x1 - c.x0 - t) / 2;
    const std::int32_t cy = c.y0 + (c.y1 - c.y0 - t) / 2;
    drawAxis(arms.left, arms.right, arms.up, arms.down, c.x0, c.x1, cx, cy, t,
             [&](std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1) {
                 sink.add(a0, b0, a1, b1);
             });
    drawAxis(arms.up, arms.down, arms.left, arms.right, c.y0, c.y1, cy, cx, t,
             [&](std::int32_t a0, std::int32_t a1, std::int32_t b0, std::int32_t b1) {
                 sink.add(b0, a0, b1, a1);
             });
}

} // namespace

std::int32_t shapeLineThickness(std::int32_t cellWidth, std::int32_t cellHeight) noexcept {
    // One pixel up to a 12-pixel-wide cell, then growing with the cell, never so thick that
    // a double line (three thicknesses) overfills it.
    const std::int32_t byWidth = (cellWidth + 4) / 8;
    const std::int32_t limit = std::min(cellWidth, cellHeight) / 3;
    return std::max<std::int32_t>(1, std::min(byWidth, limit));
}

int cellShapeRects(std::uint8_t byte, const CellRect& c, std::int32_t thickness,
                   ShapeRect (&out)[kMaxShapeRects]) noexcept {
    RectSink sink(c, out);
    const std::int32_t midX = c.x0 + (c.x1 - c.x0) / 2;
    const std::int32_t midY = c.y0 + (c.y1 - c.y0) / 2;
    switch (byte) {
    case 176: // light, medium and dark shade: the whole cell, filled with dots
        sink.add(c.x0, c.y0, c.x1, c.y1, ShapeFill::LightShade);
        break;
    case 177:
        sink.add(c.x0, c.y0, c.x1, c.y1, ShapeFill::MediumShade);
        break;
    case 178:
        sink.add(c.x0, c.y0, c.x1, c.y1, ShapeFill::DarkShade);
        break;
    case 219: // full block
        sink.add(c.x0, c.y0, c.x1, c.y1);
        break;
    case 220: // lower half: the same split as the upper half, so the two make a full block
        sink.add(c.x0, midY, c.x1, c.y1);
        break;
    case 221: // left half
        sink.add(c.x0, c.y0, midX, c.y1);
        break;
    case 222: // right half
        sink.add(midX, c.y0, c.x1, c.y1);
        break;
    case 223: // upper half
        sink.add(c.x0, c.y0, c.x1, midY);
        break;
    case 254: { // small square, centred, about five eighths of the cell's width
        const std::int32_t w = c.x1 - c.x0;
        const std::int32_t side = std::max<std::int32_t>(1, (w * 5 + 4) / 8);
        const std::int32_t x = c.x0 + (w - side) / 2;
        const std::int32_t y = c.y0 + (c.y1 - c.y0 - side) / 2;
        sink.add(x, y, x + side, y + side);
        break;
    }
    default:
        if (byte >= 179 && byte <= 218) {
            boxLines(kBoxArms[byte - 179], c, std::max<std::int32_t>(thickness, 1), sink);
        }
        break;
    }
    return sink.count();
}

bool shadeDotSet(ShapeFill fill, std::int64_t x, std::int64_t y, std::int32_t dot) noexcept {
    dot = std::max<std::int32_t>(dot, 1);
    // Floor division, so that the pattern runs on unbroken left of and above the origin.
    const auto cellOf = [dot](std::int64_t v) {
        return v >= 0 ? v / dot : -((-v + dot - 1) / dot);
    };
    const std::int64_t col = ((cellOf(x) % 4) + 4) % 4;
    const bool oddRow = ((cellOf(y) % 2) + 2) % 2 != 0;
    switch (fill) {
    case ShapeFill::LightShade: // rows of the glyph: 0x22, 0x88
        return col == (oddRow ? 0 : 2);
    case ShapeFill::MediumShade: // 0x55, 0xAA
        return col % 2 == (oddRow ? 0 : 1);
    case ShapeFill::DarkShade: // 0xDD, 0x77
        return col != (oddRow ? 0 : 2);
    case ShapeFill::Solid:
        return true;
    }
    return true;
}

std::int32_t shadeDotSize(double scale) noexcept {
    if (!(scale >= 1.0)) {
        return 1;
    }
    return static_cast<std::int32_t>(std::min(scale + 0.5, 64.0));
}

bool tilesHorizontally(std::uint8_t byte) noexcept {
    switch (byte) {
    case 176:
    case 177:
    case 178:
    case 196: // ─
    case 205: // ═
    case 219:
    case 220:
    case 223:
        return true;
    default:
        return false;
    }
}

} // namespace tavrel
