// A printer made of numbers: 100 dpi Letter paper and a font whose every glyph is 10
// pixels wide, so that expected layouts can be worked out by hand.
#pragma once

#include "print/print_device.h"

namespace tavrel::test {

class FakePrinter final : public PrintDevice {
public:
    FakePrinter() {
        m.paperWidth = 850;
        m.paperHeight = 1100;
        m.printableWidth = 800;
        m.printableHeight = 1050;
        m.offsetX = 25;
        m.offsetY = 25;
        m.dpiX = 100;
        m.dpiY = 100;
    }
    [[nodiscard]] PrinterMetrics metrics() const override { return m; }
    [[nodiscard]] const GlyphMetrics& glyphMetrics() const override { return glyphs; }
    [[nodiscard]] std::int32_t letterHeight() const override { return letter; }

    PrinterMetrics m;
    TableGlyphMetrics glyphs = TableGlyphMetrics::uniform(10, 8, 2);
    std::int32_t letter = 10;
};

} // namespace tavrel::test
