// Draws runs of document bytes as code page 437 glyphs. Positions come from the layout
// (logical pixels) and are snapped to device pixels cell by cell, so neighbouring cells
// share their edges exactly at any scale factor; block, shade and box characters are
// filled as rectangles there, and text is drawn from raw fonts at the device's own pixel
// size, never as an enlarged bitmap.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QPainter>
#include <QRect>
#include <QTransform>
#include <QVarLengthArray>

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "editor/line_breaker.h"
#include "editor/qt/display_font.h"
#include "editor/types.h"

namespace tavrel {

class GlyphPainter {
public:
    // Where one display line is drawn, in logical pixels: `left` is the x of the line's
    // pen origin (its left edge, scrolled), the rest as the view's line metrics say.
    struct Line {
        std::int64_t left = 0;
        std::int32_t top = 0;
        std::int32_t height = 16;
        std::int32_t baseline = 12;
    };
    // A run's own look; the display font's bold, italic, underline and strike-out apply to
    // every run on top of it.
    struct Style {
        QColor text;
        QColor background; // invalid: nothing behind the characters
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool zigzag = false; // a wavy underline, as for misspellings and special runs
        // Visible blanks: a space shows the byte 0xB7, a tab the byte 0xBB at its start,
        // in the display font's glyphs for those codes.
        bool markSpaces = false;
        bool markTabs = false;
    };
    static constexpr std::uint8_t kSpaceMark = 0xB7;
    static constexpr std::uint8_t kTabMark = 0xBB;
    static constexpr std::uint8_t kReturnMark = 0xB6;

    GlyphPainter() = default;
    GlyphPainter(const GlyphPainter&) = delete; // holds per-scale glyph tables; share one
    GlyphPainter& operator=(const GlyphPainter&) = delete;

    // The display font (family resolved) and its size in logical pixels.
    void setFont(const QFont& font, qreal logicalPixelSize);
    // Glyphs drawn `factor` times their size by scaling the font's own glyphs, and shade dots
    // as large: a bitmap font has strikes at a few sizes only, and beyond them would draw
    // nothing or a smaller strike. Cells and shapes come scaled from the layout already.
    void setZoom(int factor) noexcept { zoom_ = factor < 1 ? 1 : factor; }
    [[nodiscard]] const QFont& font() const noexcept { return font_; }

    // Which glyph each byte draws. Only code page 437 draws its block and box bytes as
    // cell-exact shapes; in Windows-1252 those bytes are letters.
    void setByteGlyphs(ByteGlyphs glyphs);
    [[nodiscard]] ByteGlyphs byteGlyphs() const noexcept { return byteGlyphs_; }

    // Drawing happens between begin and end on one painter whose transform only scales
    // and translates (screen, image, printer).
    void begin(QPainter& painter);
    void end();

    // Draws bytes [from, to) of a display line that starts at lineStart; penFrom is the
    // pen position of `from` on that line (tabs depend on it).
    void drawRun(std::string_view text, Pos from, Pos to, std::int64_t penFrom, const Line& line,
                 const Style& style, const GlyphWidths& widths);

    // Fills [x0, x1) x [y0, y1) of logical pixels, snapped like cells (backgrounds,
    // selections, the caret), so fills and cells line up without slivers.
    void fill(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
              const QColor& color);

    [[nodiscard]] std::int32_t deviceX(std::int64_t x) const noexcept;
    [[nodiscard]] std::int32_t deviceY(std::int64_t y) const noexcept;

private:
    const GlyphSet& glyphsFor(bool bold, bool italic);
    void flushGlyphs(const GlyphSet& glyphs, int face, const QColor& color);
    void drawZoomedGlyphs(QGlyphRun& run, const QColor& color);
    void drawTextLines(const GlyphSet& glyphs, std::int32_t x0, std::int32_t x1, double baseline,
                       bool underline, bool strikeOut, const QColor& color);
    void flushShapes(const QColor& color);

    QFont font_;
    qreal logicalPixelSize_ = 16;
    ByteGlyphs byteGlyphs_ = ByteGlyphs::Cp437;
    QPainter* painter_ = nullptr;
    QTransform saved_;
    qreal sx_ = 1, sy_ = 1, dx_ = 0, dy_ = 0;
    int zoom_ = 1;
    // Glyph tables at the device's pixel size, for plain, bold, italic, bold italic.
    std::array<std::unique_ptr<GlyphSet>, 4> sets_;
    qreal setsScale_ = 0;

    // Batches: glyphs of one face, and shape rectangles by opacity.
    std::vector<quint32> glyphIndexes_;
    std::vector<QPointF> glyphPositions_;
    std::array<std::vector<QRect>, 4> shapes_; // by ShapeFill: solid, then the three shades
    // The shades' pattern brushes, kept while colour and dot size stay the same.
    struct ShadeBrush {
        QColor color;
        std::int32_t dot = 0;
        QBrush brush;
    };
    std::array<ShadeBrush, 4> shadeBrushes_;
};

} // namespace tavrel
