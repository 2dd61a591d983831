// Starting, filling and ending a print job. QPainter::end() is what finishes the job (and
// for PDF writes the file), so every way out of the loop passes through it.
#include "print/qt/print_job.h"

#include <QPainter>

#include <exception>

#include "print/qt/page_painter.h"

namespace tavrel {

PrintJobResult printPages(const QtPrintDevice& device, PrintLayout& layout, Pos first, Pos last,
                          const QColor& color, HighlightSource* colours) {
    PrintJobResult result;
    QPrinter& printer = device.printer();
    printer.setDocName(QString::fromLatin1(kPrintJobTitle));
    printer.setCreator(QString::fromLatin1(kPrintJobTitle));
    try {
        layout.layout();
    } catch (const std::exception& e) {
        result.error = QString::fromLocal8Bit(e.what());
        return result;
    }
    if (!layout.hasRoomForText()) {
        result.error = QString::fromLatin1(kNoRoomForText);
        return result;
    }
    const Pos pages = layout.pageCount();
    first = std::max<Pos>(0, first);
    if (last < 0 || last >= pages) {
        last = pages - 1;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        result.error = QStringLiteral("The printer could not be started");
        if (printer.outputFormat() == QPrinter::PdfFormat) {
            result.error = QStringLiteral("Cannot write %1").arg(printer.outputFileName());
        }
        return result;
    }
    PagePainter pagePainter(device);
    PagePainter::Options options;
    options.color = color;
    options.colours = colours;
    try {
        for (Pos page = first; page <= last; ++page) {
            if (page > first && !printer.newPage()) {
                result.error = QStringLiteral("The printer refused a new page");
                break;
            }
            pagePainter.paintPage(painter, layout, page, options);
            ++result.pagesPrinted;
        }
    } catch (const std::exception& e) {
        result.error = QString::fromLocal8Bit(e.what());
    }
    // Ends the job whatever happened above; for a file this is where it is written.
    if (!painter.end() && result.error.isEmpty()) {
        result.error = QStringLiteral("The print job could not be finished");
    }
    result.ok = result.error.isEmpty();
    return result;
}

} // namespace tavrel
