// What the print layout needs to know about a printer, in its own pixels: the paper, the
// unprintable borders, the resolution and the print font measured on it. The Qt side
// answers for a real QPrinter; tests answer with plain numbers.
#pragma once

#include <cstdint>

#include "editor/glyph_metrics.h"

namespace tavrel {

struct PrinterMetrics {
    std::int64_t paperWidth = 0; // whole sheet
    std::int64_t paperHeight = 0;
    std::int64_t offsetX = 0; // unprintable left border
    std::int64_t offsetY = 0; // unprintable top border
    std::int64_t printableWidth = 0;
    std::int64_t printableHeight = 0;
    std::int32_t dpiX = 0;
    std::int32_t dpiY = 0;

    friend bool operator==(const PrinterMetrics&, const PrinterMetrics&) = default;
};

class PrintDevice {
public:
    PrintDevice() = default;
    PrintDevice(const PrintDevice&) = delete; // stands for one device
    PrintDevice& operator=(const PrintDevice&) = delete;
    virtual ~PrintDevice() = default;

    [[nodiscard]] virtual PrinterMetrics metrics() const = 0;
    // The print font on the printer: advances of all 256 bytes and its ascent.
    [[nodiscard]] virtual const GlyphMetrics& glyphMetrics() const = 0;
    // Height of the letter "A" in the print font, the unit of a relative line pitch.
    [[nodiscard]] virtual std::int32_t letterHeight() const = 0;
};

} // namespace tavrel
