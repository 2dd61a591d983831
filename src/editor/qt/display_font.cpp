// Font resolution and the per-byte glyph table of the display font.
#include "editor/qt/display_font.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "text/cp437.h"

namespace tavrel {

QString resolveDisplayFamily(const QString& requested) {
    if (!requested.isEmpty() && QFontDatabase::hasFamily(requested)) {
        return requested;
    }
    for (const char* fallback : {"Terminus", "DejaVu Sans Mono"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(fallback))) {
            return QString::fromLatin1(fallback);
        }
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

qreal fontPixelSize(const QFont& font, qreal dpi) {
    if (font.pixelSize() > 0) {
        return font.pixelSize() * dpi / 96.0;
    }
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : 10.0;
    return points * dpi / 72.0;
}

QFont resolveDisplayFont(const QFont& requested) {
    QFont font(requested);
    font.setFamily(resolveDisplayFamily(requested.family()));
    return font;
}

GlyphSet::GlyphSet(const QFont& font, qreal pixelSize, ByteGlyphs glyphs)
    : pixelSize_(std::max<qreal>(pixelSize, 1)) {
    face_.fill(kNoFace);
    advance_.fill(pixelSize_ / 2);
    QFont sized(font);
    sized.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize_))));
    QRawFont primary = QRawFont::fromFont(sized);
    if (!primary.isValid()) {
        // A font that cannot be opened: draw with the system's fixed font instead.
        sized = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        sized.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize_))));
        primary = QRawFont::fromFont(sized);
    }
    if (!primary.isValid()) {
        return;
    }
    // Bitmap fonts: this picks the strike for the size instead of scaling another one.
    primary.setPixelSize(pixelSize_);
    faces_.push_back(primary);
    ascent_ = primary.ascent();
    descent_ = primary.descent();
    leading_ = std::max<qreal>(0, ascent_ + descent_ - pixelSize_);
    underlinePosition_ = primary.underlinePosition();
    lineThickness_ = primary.lineThickness();

    const QList<quint32> spaceGlyph = primary.glyphIndexesForString(QStringLiteral(" "));
    const QList<QPointF> spaceAdvance = primary.advancesForGlyphIndexes(spaceGlyph);
    const qreal spaceWidth = spaceAdvance.isEmpty() ? pixelSize_ / 2 : spaceAdvance[0].x();

    for (int b = 0; b < 256; ++b) {
        const char16_t u = displayedChar(static_cast<std::uint8_t>(b), glyphs);
        face_[b] = kNoFace;
        glyph_[b] = 0;
        advance_[b] = spaceWidth;
        if (u == u' ' || u == u'\u00A0') {
            continue; // blank cells: nothing to draw
        }
        const QString text(QChar(static_cast<ushort>(u)));
        const QList<quint32> own = primary.glyphIndexesForString(text);
        if (!own.isEmpty() && own[0] != 0) {
            face_[b] = 0;
            glyph_[b] = own[0];
        } else {
            // Not in the font: take the glyph Qt's font fallback would show.
            QTextLayout layout(text, sized);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            const QList<QGlyphRun> runs = layout.glyphRuns();
            if (runs.isEmpty() || runs[0].glyphIndexes().isEmpty() ||
                runs[0].glyphIndexes()[0] == 0) {
                continue;
            }
            face_[b] = faceFor(runs[0].rawFont());
            glyph_[b] = runs[0].glyphIndexes()[0];
        }
        if (face_[b] != kNoFace) {
            const QList<QPointF> adv = faces_[face_[b]].advancesForGlyphIndexes({glyph_[b]});
            if (!adv.isEmpty() && adv[0].x() > 0) {
                advance_[b] = adv[0].x();
            }
        }
    }
}

std::uint8_t GlyphSet::faceFor(const QRawFont& raw) {
    for (std::size_t i = 0; i < faces_.size(); ++i) {
        if (faces_[i].familyName() == raw.familyName() &&
            faces_[i].styleName() == raw.styleName()) {
            return static_cast<std::uint8_t>(i);
        }
    }
    if (faces_.size() >= kNoFace) {
        return kNoFace;
    }
    QRawFont sized(raw);
    sized.setPixelSize(pixelSize_);
    faces_.push_back(sized);
    return static_cast<std::uint8_t>(faces_.size() - 1);
}

QtGlyphMetrics::QtGlyphMetrics(const GlyphSet& glyphs, int zoom) {
    zoom = std::max(zoom, 1);
    for (int b = 0; b < 256; ++b) {
        advances_[b] = zoom * std::max(1, static_cast<int>(std::lround(
                                              glyphs.advance(static_cast<std::uint8_t>(b)))));
    }
    ascent_ = zoom * static_cast<std::int32_t>(std::ceil(glyphs.ascent() - 0.01));
    descent_ = zoom * static_cast<std::int32_t>(std::ceil(glyphs.descent() - 0.01));
    leading_ = zoom * static_cast<std::int32_t>(std::lround(glyphs.leading()));
}

QtGlyphMetrics::QtGlyphMetrics(const QFont& font, qreal dpi)
    : QtGlyphMetrics(GlyphSet(resolveDisplayFont(font), fontPixelSize(font, dpi))) {}

} // namespace tavrel
