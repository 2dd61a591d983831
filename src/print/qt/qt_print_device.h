// A QPrinter as the print layout sees it: paper, unprintable borders and resolution in the
// printer's pixels, and the print font measured glyph by glyph at that resolution.
#pragma once

#include <QFont>
#include <QPrinter>

#include <memory>

#include "editor/qt/display_font.h"
#include "print/print_device.h"
#include "text/seen_text.h"

namespace tavrel {

class QtPrintDevice final : public PrintDevice {
public:
    // The printer is used full page: coordinates count from the paper's corner.
    QtPrintDevice(QPrinter& printer, const QFont& printFont);

    // The font as set (family not yet resolved); the font that draws is the nearest
    // installed monospaced one.
    void setPrintFont(const QFont& font);
    [[nodiscard]] const QFont& printFont() const noexcept { return font_; }
    [[nodiscard]] const QFont& drawingFont() const noexcept { return resolved_; }
    // The font's pixel size on this printer.
    [[nodiscard]] qreal fontPixelSize() const;

    [[nodiscard]] PrinterMetrics metrics() const override;
    [[nodiscard]] const GlyphMetrics& glyphMetrics() const override;
    [[nodiscard]] std::int32_t letterHeight() const override;

    [[nodiscard]] QPrinter& printer() const noexcept { return printer_; }

    // Which characters the bytes print as: the glyphs the window shows them with.
    void setByteGlyphs(ByteGlyphs glyphs) noexcept { byteGlyphs_ = glyphs; }
    [[nodiscard]] ByteGlyphs byteGlyphs() const noexcept { return byteGlyphs_; }

private:
    QPrinter& printer_;
    QFont font_;
    QFont resolved_;
    // Measured again when the printer's resolution changes.
    mutable std::unique_ptr<QtGlyphMetrics> glyphs_;
    mutable int glyphsDpi_ = 0;
    ByteGlyphs byteGlyphs_ = ByteGlyphs::Cp437;
};

} // namespace tavrel
