// Drawing runs of bytes: cells snapped to device pixels, shapes batched by opacity and
// glyphs batched by face, so a screen of dense art costs a few hundred painter calls.
#include "editor/qt/glyph_painter.h"

#include <QGlyphRun>
#include <QImage>
#include <QLineF>
#include <QPen>
#include <QPolygon>

#include <algorithm>
#include <cmath>

#include "editor/cell_shapes.h"
#include "text/cp437.h"

namespace tavrel {
namespace {

// Coordinates handed to the painter stay well inside 32-bit pixel arithmetic.
constexpr double kCoordinateLimit = 1 << 29;

[[nodiscard]] std::int32_t snap(double v) noexcept {
    return static_cast<std::int32_t>(
        std::llround(std::clamp(v, -kCoordinateLimit, kCoordinateLimit)));
}

[[nodiscard]] std::size_t fillIndex(ShapeFill fill) noexcept {
    return static_cast<std::size_t>(fill);
}

// One period of a shade's dot pattern in the text colour, clear between the dots.
QImage shadeTile(ShapeFill fill, const QColor& color, std::int32_t dot) {
    QImage tile(4 * dot, 2 * dot, QImage::Format_ARGB32_Premultiplied);
    const QRgb on = color.rgba();
    const QRgb premultiplied = qPremultiply(on);
    for (int y = 0; y < tile.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < tile.width(); ++x) {
            line[x] = shadeDotSet(fill, x, y, dot) ? premultiplied : 0;
        }
    }
    return tile;
}

} // namespace

void GlyphPainter::setFont(const QFont& font, qreal logicalPixelSize) {
    font_ = font;
    logicalPixelSize_ = std::max<qreal>(logicalPixelSize, 1);
    for (auto& set : sets_) {
        set.reset();
    }
    setsScale_ = 0;
}

void GlyphPainter::begin(QPainter& painter) {
    painter_ = &painter;
    painter.save();
    const QTransform world = painter.worldTransform();
    const QTransform device = painter.deviceTransform();
    sx_ = device.m11();
    sy_ = device.m22();
    dx_ = device.dx();
    dy_ = device.dy();
    // From here on the painter works in device pixels: every coordinate is snapped by us.
    painter.setWorldTransform(device.inverted() * world);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
}

void GlyphPainter::end() {
    if (painter_ != nullptr) {
        painter_->restore();
        painter_ = nullptr;
    }
}

std::int32_t GlyphPainter::deviceX(std::int64_t x) const noexcept {
    return snap(static_cast<double>(x) * sx_ + dx_);
}

std::int32_t GlyphPainter::deviceY(std::int64_t y) const noexcept {
    return snap(static_cast<double>(y) * sy_ + dy_);
}

void GlyphPainter::fill(std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                        const QColor& color) {
    const QRect r(QPoint(deviceX(x0), deviceY(y0)), QPoint(deviceX(x1) - 1, deviceY(y1) - 1));
    if (r.isValid()) {
        painter_->fillRect(r, color);
    }
}

void GlyphPainter::setByteGlyphs(ByteGlyphs glyphs) {
    if (glyphs == byteGlyphs_) {
        return;
    }
    byteGlyphs_ = glyphs;
    for (auto& set : sets_) {
        set.reset();
    }
}

const GlyphSet& GlyphPainter::glyphsFor(bool bold, bool italic) {
    if (setsScale_ != sy_) {
        for (auto& set : sets_) {
            set.reset();
        }
        setsScale_ = sy_;
    }
    std::unique_ptr<GlyphSet>& set = sets_[(bold ? 1 : 0) + (italic ? 2 : 0)];
    if (!set) {
        QFont variant(font_);
        variant.setBold(bold);
        variant.setItalic(italic);
        set = std::make_unique<GlyphSet>(variant, logicalPixelSize_ * sy_, byteGlyphs_);
    }
    return *set;
}

void GlyphPainter::flushGlyphs(const GlyphSet& glyphs, int face, const QColor& color) {
    if (glyphIndexes_.empty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(glyphs.faces()[static_cast<std::size_t>(face)]);
    run.setRawData(glyphIndexes_.data(), glyphPositions_.data(),
                   static_cast<int>(glyphIndexes_.size()));
    painter_->setPen(color);
    if (zoom_ > 1) {
        drawZoomedGlyphs(run, color);
    } else {
        painter_->drawGlyphRun(QPointF(0, 0), run);
    }
    painter_->setPen(Qt::NoPen);
    glyphIndexes_.clear();
    glyphPositions_.clear();
}

void GlyphPainter::drawZoomedGlyphs(QGlyphRun& run, const QColor& color) {
    // The run is painted at the font's own size into an image and that image enlarged pixel
    // by pixel: a bitmap font has no larger strike to draw from, and Qt draws a scaled bitmap
    // font smaller than asked or not at all. Positions are device pixels on one baseline.
    const QRawFont& raw = run.rawFont();
    const double ox = glyphPositions_.front().x();
    const double baseline = glyphPositions_.front().y();
    const int ascent = static_cast<int>(std::ceil(raw.ascent()));
    const int height = ascent + static_cast<int>(std::ceil(raw.descent())) + 1;
    double right = 0;
    for (QPointF& position : glyphPositions_) {
        position = QPointF((position.x() - ox) / zoom_, ascent);
        right = std::max(right, position.x());
    }
    const int width = static_cast<int>(std::ceil(right + raw.maxCharWidth())) + 1;
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return; // no memory for it: the text is left out of this paint, nothing else
    }
    image.fill(Qt::transparent);
    {
        QPainter small(&image);
        small.setPen(color);
        run.setRawData(glyphIndexes_.data(), glyphPositions_.data(),
                       static_cast<int>(glyphIndexes_.size()));
        small.drawGlyphRun(QPointF(0, 0), run);
    }
    painter_->save();
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect target(static_cast<int>(std::lround(ox)),
                       static_cast<int>(std::lround(baseline)) - ascent * zoom_, width * zoom_,
                       height * zoom_);
    painter_->drawImage(target, image);
    painter_->restore();
}

void GlyphPainter::drawTextLines(const GlyphSet& glyphs, std::int32_t x0, std::int32_t x1,
                                 double baseline, bool underline, bool strikeOut,
                                 const QColor& color) {
    if ((!underline && !strikeOut) || x1 <= x0) {
        return;
    }
    // Placed as Qt places them under and through text in the same font, so a styled font
    // looks here as it does in the font dialog's sample: a line of the font's thickness, the
    // underline its own distance below the baseline rounded down to a pixel row but kept
    // inside the descent, the strike-out a third of the ascent above the baseline. Zoomed
    // glyphs take their lines as many times thicker and further away.
    const qreal thickness = (glyphs.lineThickness() > 0 ? glyphs.lineThickness() : 1) * zoom_;
    painter_->setPen(QPen(color, thickness, Qt::SolidLine, Qt::FlatCap));
    if (underline) {
        const qreal position = glyphs.underlinePosition();
        qreal offset = std::ceil(position) + 0.5;
        if (position <= glyphs.descent()) {
            offset = std::min(offset, glyphs.descent() - 0.5);
        }
        const double y = baseline + offset * zoom_;
        painter_->drawLine(QLineF(x0, y, x1, y));
    }
    if (strikeOut) {
        const double y = baseline - glyphs.ascent() / 3 * zoom_;
        painter_->drawLine(QLineF(x0, y, x1, y));
    }
    painter_->setPen(Qt::NoPen);
}

void GlyphPainter::flushShapes(const QColor& color) {
    for (std::size_t i = 0; i < shapes_.size(); ++i) {
        std::vector<QRect>& rects = shapes_[i];
        if (rects.empty()) {
            continue;
        }
        if (i == fillIndex(ShapeFill::Solid)) {
            painter_->setBrush(color);
        } else {
            // The painter works in device pixels here, so the tile lies on the pixel grid
            // from the device's origin: cells side by side continue the same pattern.
            const std::int32_t dot = shadeDotSize(sy_) * zoom_;
            ShadeBrush& cached = shadeBrushes_[i];
            if (cached.color != color || cached.dot != dot) {
                cached = {color, dot, QBrush(shadeTile(static_cast<ShapeFill>(i), color, dot))};
            }
            painter_->setBrushOrigin(0, 0);
            painter_->setBrush(cached.brush);
        }
        painter_->drawRects(rects.data(), static_cast<int>(rects.size()));
        rects.clear();
    }
    painter_->setBrush(Qt::NoBrush);
}

void GlyphPainter::drawRun(std::string_view text, Pos from, Pos to, std::int64_t penFrom,
                           const Line& line, const Style& style, const GlyphWidths& widths) {
    if (painter_ == nullptr || from >= to) {
        return;
    }
    const GlyphSet& glyphs = glyphsFor(style.bold || font_.bold(), style.italic || font_.italic());
    const std::int32_t y0 = deviceY(line.top);
    const std::int32_t y1 = deviceY(static_cast<std::int64_t>(line.top) + line.height);
    const double baseline =
        static_cast<double>(deviceY(static_cast<std::int64_t>(line.top) + line.baseline));
    const std::int32_t spaceCell = std::max(1, deviceX((*widths.advances)[' ']) - deviceX(0));
    const std::int32_t thickness = shapeLineThickness(spaceCell, y1 - y0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());

    // The end of the run first: a background goes under everything.
    std::int64_t penTo = penFrom;
    for (Pos i = from; i < to; ++i) {
        penTo += advanceAt(bytes[i], penTo, widths);
    }
    if (style.background.isValid() && style.background.alpha() > 0) {
        fill(line.left + penFrom, line.top, line.left + penTo,
             static_cast<std::int64_t>(line.top) + line.height, style.background);
    }

    int face = -1;
    int shapeByte = -1; // a run of equal tiling shapes waiting to be drawn as one
    std::int32_t shapeX0 = 0;
    std::int32_t shapeX1 = 0;
    auto emitShape = [&] {
        if (shapeByte < 0) {
            return;
        }
        ShapeRect rects[kMaxShapeRects];
        const int n = cellShapeRects(static_cast<std::uint8_t>(shapeByte),
                                     CellRect{shapeX0, y0, shapeX1, y1}, thickness, rects);
        for (int k = 0; k < n; ++k) {
            const CellRect& r = rects[k].rect;
            shapes_[fillIndex(rects[k].fill)].emplace_back(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
        }
        shapeByte = -1;
    };

    std::int64_t pen = penFrom;
    for (Pos i = from; i < to; ++i) {
        std::uint8_t c = bytes[i];
        const std::int64_t w = advanceAt(c, pen, widths);
        const std::int32_t cx0 = deviceX(line.left + pen);
        std::int32_t cx1 = deviceX(line.left + pen + w);
        if (c == '\t') {
            if (!style.markTabs) {
                pen += w;
                continue;
            }
            // The mark takes one cell at the tab's start; the rest of the tab stays blank.
            cx1 = std::min(cx1, deviceX(line.left + pen + (*widths.advances)[kTabMark]));
            c = kTabMark;
        } else if (c == ' ' && style.markSpaces) {
            c = kSpaceMark;
        }
        pen += w;
        if (byteGlyphs_ == ByteGlyphs::Cp437 && isCellShape(c)) {
            if (shapeByte == c && shapeX1 == cx0 && tilesHorizontally(c)) {
                shapeX1 = cx1;
                continue;
            }
            emitShape();
            shapeByte = c;
            shapeX0 = cx0;
            shapeX1 = cx1;
            continue;
        }
        const std::uint8_t f = glyphs.face(c);
        if (f == GlyphSet::kNoFace) {
            continue;
        }
        if (f != face) {
            if (face >= 0) {
                flushGlyphs(glyphs, face, style.text);
            }
            face = f;
        }
        // A glyph narrower than its cell (a fallback face, a strike smaller than asked)
        // sits in the cell's middle rather than at its left edge.
        const double slack = static_cast<double>(cx1 - cx0) / zoom_ - glyphs.advance(c);
        const double x = cx0 + (slack >= 1.0 ? std::floor(slack / 2) * zoom_ : 0.0);
        glyphIndexes_.push_back(glyphs.glyph(c));
        glyphPositions_.emplace_back(x, baseline);
    }
    emitShape();
    flushShapes(style.text);
    if (face >= 0) {
        flushGlyphs(glyphs, face, style.text);
    }

    const std::int32_t ux0 = deviceX(line.left + penFrom);
    const std::int32_t ux1 = deviceX(line.left + penTo);
    drawTextLines(glyphs, ux0, ux1, baseline, style.underline || font_.underline(),
                  font_.strikeOut(), style.text);
    if (style.zigzag) {
        const std::int32_t penWidth = std::max(1, static_cast<int>(std::lround(sy_)));
        const std::int32_t under =
            std::min<std::int32_t>(static_cast<std::int32_t>(baseline) + penWidth, y1 - penWidth);
        const std::int32_t amplitude = 3 * penWidth / 2 + 1;
        QPolygon wave;
        const std::int32_t top = std::min(under, y1 - amplitude - penWidth);
        for (std::int32_t x = ux0, k = 0; x <= ux1; x += amplitude, ++k) {
            wave << QPoint(x, top + ((k & 1) != 0 ? amplitude : 0));
        }
        painter_->setPen(QPen(style.text, penWidth));
        painter_->drawPolyline(wave);
        painter_->setPen(Qt::NoPen);
    }
}

} // namespace tavrel
