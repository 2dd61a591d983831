// What the layout needs to know about a font on some device, without knowing the toolkit:
// the advance of every byte's glyph and the vertical metrics, all in whole device pixels.
// The screen, an off-screen image and the printer each supply their own.
#pragma once

#include <array>
#include <cstdint>

namespace tavrel {

// Advance in pixels of the glyph shown for each byte value.
using AdvanceTable = std::array<std::int32_t, 256>;

class GlyphMetrics {
public:
    GlyphMetrics() = default;
    GlyphMetrics(const GlyphMetrics&) = default;
    GlyphMetrics& operator=(const GlyphMetrics&) = default;
    GlyphMetrics(GlyphMetrics&&) = default;
    GlyphMetrics& operator=(GlyphMetrics&&) = default;
    virtual ~GlyphMetrics() = default;

    [[nodiscard]] virtual const AdvanceTable& advances() const noexcept = 0;
    // The font's cell height (ascent + descent), the automatic line height without its
    // extra pixel.
    [[nodiscard]] virtual std::int32_t fontHeight() const noexcept = 0;
    [[nodiscard]] virtual std::int32_t ascent() const noexcept = 0;
    [[nodiscard]] virtual std::int32_t descent() const noexcept = 0;
    // Room above the tallest accents that belongs to the cell, as fonts report it.
    [[nodiscard]] virtual std::int32_t internalLeading() const noexcept = 0;

    [[nodiscard]] std::int32_t advance(std::uint8_t byte) const noexcept {
        return advances()[byte];
    }
    // The unit of tab stops, block columns and horizontal scrolling.
    [[nodiscard]] std::int32_t spaceWidth() const noexcept { return advances()[' ']; }
    [[nodiscard]] std::int32_t maxAdvance() const noexcept;
    // Every one of the 256 glyphs has the same advance. This, and not a font's own claim,
    // decides whether the layout may take its fixed-pitch shortcuts.
    [[nodiscard]] bool isFixedPitch() const noexcept;
};

// Metrics held as plain values: the layout's tests and benchmarks use it, and the Qt
// side copies its measurements into one so that the layout never calls back into Qt.
class TableGlyphMetrics final : public GlyphMetrics {
public:
    TableGlyphMetrics(const AdvanceTable& advances, std::int32_t ascent, std::int32_t descent,
                      std::int32_t internalLeading = 0) noexcept;
    // Every glyph `advance` pixels wide.
    [[nodiscard]] static TableGlyphMetrics uniform(std::int32_t advance, std::int32_t ascent,
                                                   std::int32_t descent) noexcept;

    [[nodiscard]] const AdvanceTable& advances() const noexcept override { return advances_; }
    [[nodiscard]] std::int32_t fontHeight() const noexcept override { return ascent_ + descent_; }
    [[nodiscard]] std::int32_t ascent() const noexcept override { return ascent_; }
    [[nodiscard]] std::int32_t descent() const noexcept override { return descent_; }
    [[nodiscard]] std::int32_t internalLeading() const noexcept override {
        return internalLeading_;
    }

private:
    AdvanceTable advances_;
    std::int32_t ascent_;
    std::int32_t descent_;
    std::int32_t internalLeading_;
};

} // namespace tavrel
