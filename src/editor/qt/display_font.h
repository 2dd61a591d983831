// The editor's display font: which installed family draws for a font setting, the glyph
// of every byte in that font (or in the font Qt falls back to for it), and the measured
// metrics the layout works with. Glyphs are looked up through raw fonts so that bitmap
// fonts such as Terminus get their real strike at every size instead of a scaled one.
#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

#include "editor/glyph_metrics.h"
#include "text/seen_text.h"

namespace tavrel {

// The family the editor's font setting names by default.
inline constexpr char kDefaultDisplayFamily[] = "TavrelLarge";

// The family that draws for a requested one: the family itself when installed, otherwise
// the first installed of Terminus and DejaVu Sans Mono, otherwise the system's fixed font.
// The setting keeps the requested name; only drawing uses the result.
[[nodiscard]] QString resolveDisplayFamily(const QString& requested);

// The requested font (size and style kept) with its family resolved.
[[nodiscard]] QFont resolveDisplayFont(const QFont& requested);

// Pixel size of a font on a device of `dpi` dots per inch (96 for the screen's logical
// pixels; a printer's resolution when laying out for print).
[[nodiscard]] qreal fontPixelSize(const QFont& font, qreal dpi);

// The glyph of each byte (as its code page 437 character, or its Windows-1252 letter) in one
// font at one pixel size.
class GlyphSet {
public:
    GlyphSet() = default;
    GlyphSet(const QFont& font, qreal pixelSize, ByteGlyphs glyphs = ByteGlyphs::Cp437);

    [[nodiscard]] bool isValid() const noexcept { return !faces_.empty(); }
    [[nodiscard]] qreal pixelSize() const noexcept { return pixelSize_; }
    // The raw fonts glyphs come from: the font itself first, then Qt's fallbacks.
    [[nodiscard]] const std::vector<QRawFont>& faces() const noexcept { return faces_; }
    // Face of a byte's glyph, or kNoFace for bytes that draw nothing (blank glyphs).
    [[nodiscard]] std::uint8_t face(std::uint8_t byte) const noexcept { return face_[byte]; }
    [[nodiscard]] quint32 glyph(std::uint8_t byte) const noexcept { return glyph_[byte]; }
    [[nodiscard]] qreal advance(std::uint8_t byte) const noexcept { return advance_[byte]; }
    [[nodiscard]] qreal ascent() const noexcept { return ascent_; }
    [[nodiscard]] qreal descent() const noexcept { return descent_; }
    [[nodiscard]] qreal leading() const noexcept { return leading_; }
    // The font's own underline: its distance below the baseline and its thickness.
    [[nodiscard]] qreal underlinePosition() const noexcept { return underlinePosition_; }
    [[nodiscard]] qreal lineThickness() const noexcept { return lineThickness_; }

    static constexpr std::uint8_t kNoFace = 255;

private:
    std::uint8_t faceFor(const QRawFont& raw);

    qreal pixelSize_ = 0;
    std::vector<QRawFont> faces_;
    std::array<std::uint8_t, 256> face_{};
    std::array<quint32, 256> glyph_{};
    std::array<qreal, 256> advance_{};
    qreal ascent_ = 0;
    qreal descent_ = 0;
    qreal leading_ = 0;
    qreal underlinePosition_ = 1;
    qreal lineThickness_ = 1;
};

// Metrics of a display font in whole pixels of one device, measured glyph by glyph.
class QtGlyphMetrics final : public GlyphMetrics {
public:
    // `zoom` multiplies every measured pixel figure: the cells of a zoomed view.
    explicit QtGlyphMetrics(const GlyphSet& glyphs, int zoom = 1);
    // Measures a font setting (its family resolved here) on a device of `dpi` dots per inch.
    QtGlyphMetrics(const QFont& font, qreal dpi);

    [[nodiscard]] const AdvanceTable& advances() const noexcept override { return advances_; }
    [[nodiscard]] std::int32_t fontHeight() const noexcept override { return ascent_ + descent_; }
    [[nodiscard]] std::int32_t ascent() const noexcept override { return ascent_; }
    [[nodiscard]] std::int32_t descent() const noexcept override { return descent_; }
    [[nodiscard]] std::int32_t internalLeading() const noexcept override { return leading_; }

private:
    AdvanceTable advances_{};
    std::int32_t ascent_ = 0;
    std::int32_t descent_ = 0;
    std::int32_t leading_ = 0;
};

} // namespace tavrel
