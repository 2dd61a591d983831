// Reading a QPrinter's geometry in device pixels. Qt reports the unprintable borders as the
// page layout's minimum margins; a PDF printer has none.
#include "print/qt/qt_print_device.h"

#include <QPageLayout>

#include "print/qt/print_font.h"

#include <cmath>

namespace tavrel {

QtPrintDevice::QtPrintDevice(QPrinter& printer, const QFont& printFont) : printer_(printer) {
    printer_.setFullPage(true);
    setPrintFont(printFont);
}

void QtPrintDevice::setPrintFont(const QFont& font) {
    font_ = font;
    resolved_ = resolvePrintFont(font);
    glyphs_.reset();
}

qreal QtPrintDevice::fontPixelSize() const {
    return tavrel::fontPixelSize(resolved_, printer_.resolution());
}

PrinterMetrics QtPrintDevice::metrics() const {
    PrinterMetrics m;
    const int dpi = printer_.resolution();
    m.dpiX = dpi;
    m.dpiY = dpi;
    const QRectF paper = printer_.paperRect(QPrinter::DevicePixel);
    m.paperWidth = std::llround(paper.width());
    m.paperHeight = std::llround(paper.height());
    const QMarginsF borders = printer_.pageLayout().minimumMargins();
    const QPageLayout::Unit unit = printer_.pageLayout().units();
    // Minimum margins come in the page layout's unit; points are 1/72 inch.
    double toInches = 1.0 / 72.0;
    switch (unit) {
    case QPageLayout::Millimeter:
        toInches = 1.0 / 25.4;
        break;
    case QPageLayout::Inch:
        toInches = 1.0;
        break;
    case QPageLayout::Pica:
        toInches = 1.0 / 6.0;
        break;
    case QPageLayout::Didot:
        toInches = 0.375 / 25.4;
        break;
    case QPageLayout::Cicero:
        toInches = 4.5 / 25.4;
        break;
    default:
        break;
    }
    m.offsetX = std::llround(borders.left() * toInches * dpi);
    m.offsetY = std::llround(borders.top() * toInches * dpi);
    m.printableWidth = m.paperWidth - m.offsetX - std::llround(borders.right() * toInches * dpi);
    m.printableHeight = m.paperHeight - m.offsetY - std::llround(borders.bottom() * toInches * dpi);
    return m;
}

const GlyphMetrics& QtPrintDevice::glyphMetrics() const {
    const int dpi = printer_.resolution();
    if (!glyphs_ || glyphsDpi_ != dpi) {
        glyphs_ = std::make_unique<QtGlyphMetrics>(resolved_, dpi);
        glyphsDpi_ = dpi;
    }
    return *glyphs_;
}

std::int32_t QtPrintDevice::letterHeight() const {
    // The cell height of the font, as a text extent of "A" reports it.
    return glyphMetrics().fontHeight();
}

} // namespace tavrel
