// The print export's part of the export loop: each file is loaded the way the viewer loads
// it, laid out by the print layout and drawn by the page painter into a PDF in a private
// temporary folder; the finished bytes then go to their target in one atomic write, so a
// failed run never leaves half a PDF behind.
#include "app/pdf_export_files.h"

#include "app/art_look.h"
#include "app/document_file.h"
#include "app/export_load.h"
#include "app/print_setup.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "print/print_layout.h"
#include "print/qt/print_job.h"
#include "print/qt/qt_print_device.h"

#include <QPrinter>
#include <QTemporaryDir>

#include <exception>
#include <optional>
#include <ostream>

namespace tavrel {

namespace {

ExportedFile printFile(TextEditor& editor, const AppSettings& settings,
                       const PdfExportRequest& request, const std::string& file,
                       const QString& scratch) {
    std::string error;
    ArtFile art;
    if (!loadForExport(editor.engine(), file, settings, 0, error, &art)) {
        return exportFailure(kExportFileError, error);
    }
    const ArtLook look(editor, art, settings);
    try {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scratch);
        QtPrintDevice device(printer, printFontFrom(settings));
        device.setByteGlyphs(viewerByteGlyphs(settings));
        PrintLayout layout(device);
        PrintSettings print = printSettingsFrom(settings);
        print.columns = request.columns;
        print.lineNumbers = request.lineNumbers;
        layout.setSettings(print);
        layout.setText(editor.engine().document().text());
        const PrintJobResult job =
            printPages(device, layout, 0, -1, printColorFrom(settings), look.colours());
        if (!job.ok) {
            return exportFailure(kExportFileError, file + ": " + job.error.toStdString());
        }
        std::optional<std::string> pdf = readWholeFile(scratch.toStdString(), &error);
        if (!pdf) {
            return exportFailure(kExportFileError, file + ": " + error);
        }
        ExportedFile result;
        result.bytes = std::move(*pdf);
        const long long pages = job.pagesPrinted;
        result.summary = std::to_string(pages) + (pages == 1 ? " page" : " pages");
        return result;
    } catch (const std::exception& e) {
        return exportFailure(kExportFileError, file + ": " + e.what());
    }
}

} // namespace

int exportPdfFiles(const PdfExportRequest& request, const AppSettings& settings,
                   ExportStreams& streams) {
    QTemporaryDir scratchDir;
    if (!scratchDir.isValid()) {
        streams.err << streams.programName << ": no temporary folder for the PDF: "
                    << scratchDir.errorString().toStdString() << '\n';
        return kExportFileError;
    }
    const QString scratch = scratchDir.filePath(QStringLiteral("print.pdf"));
    TextEditor editor;
    applyViewerSettings(editor, settings);
    const ExportMaker maker{"PDF", "not printed", &proposedPdfName, [&](const std::string& file) {
                                return printFile(editor, settings, request, file, scratch);
                            }};
    return writeExports(request, maker, streams);
}

} // namespace tavrel
