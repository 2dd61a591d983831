// The two print commands of the File menu.
#include "app/print_command.h"
#include "app/viewer_setup.h"

#include "app/print_setup.h"
#include "app/settings_catalogue.h"
#include "print/print_layout.h"
#include "print/printer_choice.h"
#include "print/qt/print_job.h"
#include "print/qt/qt_print_device.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>

namespace tavrel {

QStringList availablePrinters() {
    QStringList printers{QString::fromLatin1(kPdfPrinterName)};
    printers += QPrinterInfo::availablePrinterNames();
    return printers;
}

void selectPrinter(QPrinter& printer, const QStringList& printers, int index,
                   const QString& pdfFile) {
    if (index <= 0 || index >= printers.size()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile);
        return;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(printers[index]);
}

int indexOfPrinter(const QPrinter& printer, const QStringList& printers) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        return 0;
    }
    const int index = static_cast<int>(printers.indexOf(printer.printerName()));
    return index < 0 ? 0 : index;
}

namespace {

QString proposedPdfFile(const QString& documentName) {
    if (documentName.isEmpty()) {
        return QDir::home().filePath(QStringLiteral("Tavrel.pdf"));
    }
    const QFileInfo info(documentName);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".pdf"));
}

// Steps shared by both commands: the list, the last printer or the first, the printer made
// current. False when not even the PDF printer can be had.
bool preparePrinter(PrintCommand& command, QPrinter& printer) {
    if (command.printers.isEmpty()) {
        command.printers = availablePrinters();
    }
    const int index = printerIndexOrFirst(command.settings->lastPrinter,
                                          static_cast<int>(command.printers.size()));
    if (index < 0) {
        if (command.showError) {
            command.showError(kNoPrinterText, QString());
        }
        return false;
    }
    selectPrinter(printer, command.printers, index, proposedPdfFile(command.documentName));
    return true;
}

PrintSettings settingsFor(const PrintCommand& command) {
    return command.choices != nullptr ? printSettingsFrom(*command.settings, *command.choices)
                                      : printSettingsFrom(*command.settings);
}

} // namespace

bool runPrint(PrintCommand& command) {
    QPrinter printer(QPrinter::HighResolution);
    if (!preparePrinter(command, printer)) {
        return false;
    }
    QtPrintDevice device(printer, printFontFrom(*command.settings));
    device.setByteGlyphs(viewerByteGlyphs(*command.settings));
    PrintLayout layout(device);
    layout.setSettings(settingsFor(command));
    layout.setText(command.text);
    if (!command.askPrinter || !command.askPrinter(printer, command.parent)) {
        return false;
    }
    command.settings->lastPrinter = indexOfPrinter(printer, command.printers);
    const PrintJobResult result =
        printPages(device, layout, 0, -1, printColorFrom(*command.settings), command.colours);
    if (!result.ok && command.showError) {
        command.showError(0, result.error);
    }
    return result.ok;
}

void runPrintPreview(PrintCommand& command) {
    QPrinter printer(QPrinter::HighResolution);
    if (!preparePrinter(command, printer)) {
        return;
    }
    QtPrintDevice device(printer, printFontFrom(*command.settings));
    device.setByteGlyphs(viewerByteGlyphs(*command.settings));
    PrintLayout layout(device);
    layout.setSettings(settingsFor(command));
    layout.setText(command.text);
    // The preview lays out again whenever the printer changes; the printer used is
    // remembered each time, as the program always has.
    AppSettings* settings = command.settings;
    const QStringList printers = command.printers;
    layout.setOnFormat([settings, &printer, printers] {
        settings->lastPrinter = indexOfPrinter(printer, printers);
    });
    if (command.preview) {
        command.preview(layout, device, command.parent, printColorFrom(*settings), command.colours);
    }
    // Margins dragged in the preview stay for later printing and are saved at exit.
    const PrintSettings& chosen = layout.settings();
    settings->marginLeft = chosen.marginLeft;
    settings->marginRight = chosen.marginRight;
    settings->marginTop = chosen.marginTop;
    settings->marginBottom = chosen.marginBottom;
    // Columns and line numbers stay for the next Print... and preview, but are not saved.
    if (command.choices != nullptr) {
        command.choices->columns = chosen.columnCount();
        command.choices->lineNumbers = chosen.lineNumbers;
    }
}

} // namespace tavrel
