// Each file is loaded the way the viewer loads it, laid out by the print layout and drawn
// by the page painter into a PDF in a private temporary folder; the finished bytes then go
// to their target in one atomic write, so a failed run never leaves half a PDF behind.
#include "app/pdf_export_command_line.h"

#include "app/document_file.h"
#include "app/document_title.h"
#include "app/export_command_line.h"
#include "app/print_setup.h"
#include "app/recent_files.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"
#include "print/print_layout.h"
#include "print/qt/print_job.h"
#include "print/qt/qt_print_device.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <map>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tavrel {

namespace {

struct Printed {
    int status = kExportOk;
    std::string message;
    std::string pdf;
    long long pages = 0;
};

Printed failed(int status, std::string message) {
    Printed result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

Printed printFile(TextEditor& editor, const AppSettings& settings, const PdfExportRequest& request,
                  const std::string& file, const QString& scratch) {
    std::string error;
    std::optional<std::string> bytes = readWholeFile(file, &error);
    if (!bytes) {
        return failed(kExportFileError, error);
    }
    try {
        loadIntoViewer(editor.engine(), std::move(*bytes), settings);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scratch);
        QtPrintDevice device(printer, printFontFrom(settings));
        PrintLayout layout(device);
        PrintSettings print = printSettingsFrom(settings);
        print.columns = request.columns;
        print.lineNumbers = request.lineNumbers;
        layout.setSettings(print);
        layout.setText(editor.engine().document().text());
        const PrintJobResult job = printPages(device, layout, 0, -1, printColorFrom(settings));
        if (!job.ok) {
            return failed(kExportFileError, file + ": " + job.error.toStdString());
        }
        std::optional<std::string> pdf = readWholeFile(scratch.toStdString(), &error);
        if (!pdf) {
            return failed(kExportFileError, file + ": " + error);
        }
        Printed result;
        result.pdf = std::move(*pdf);
        result.pages = job.pagesPrinted;
        return result;
    } catch (const std::exception& e) {
        return failed(kExportFileError, file + ": " + e.what());
    }
}

std::string writePdf(const std::string& pdf, const std::string& target, std::ostream& out) {
    if (target == kStandardOutputName) {
        out.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
        out.flush();
        return out ? std::string() : std::string("cannot write to standard output");
    }
    return platform::writeFileAtomically(target, pdf).error;
}

} // namespace

int exportPdfFiles(const PdfExportRequest& request, const AppSettings& settings,
                   PdfExportStreams& streams) {
    QTemporaryDir scratchDir;
    if (!scratchDir.isValid()) {
        streams.err << streams.programName << ": no temporary folder for the PDF: "
                    << scratchDir.errorString().toStdString() << '\n';
        return kExportFileError;
    }
    const QString scratch = scratchDir.filePath(QStringLiteral("print.pdf"));
    TextEditor editor;
    applyViewerSettings(editor, settings);

    const bool batch = !request.outputDir.empty();
    const std::size_t total = request.files.size();
    std::map<std::string, std::string> written;
    int worst = kExportOk;
    for (std::size_t i = 0; i < total; ++i) {
        const std::string& file = request.files[i];
        const std::string target =
            batch ? (std::filesystem::path(request.outputDir) / proposedPdfName(file)).string()
                  : request.output;
        const std::string prefix =
            streams.programName + ": " +
            (batch ? "[" + std::to_string(i + 1) + "/" + std::to_string(total) + "] " : "");
        if (const auto earlier = written.find(target); batch && earlier != written.end()) {
            streams.err << prefix << file << ": not printed, " << target
                        << " already holds the PDF of " << earlier->second << '\n';
            worst = std::max(worst, kExportFileError);
            continue;
        }
        // "--export-pdf art.nfo art.nfo" would put the PDF in place of the text.
        if (std::error_code code;
            target != kStandardOutputName && std::filesystem::equivalent(target, file, code)) {
            streams.err << prefix << file << ": not printed, the PDF would replace the file\n";
            worst = std::max(worst, kExportFileError);
            continue;
        }
        Printed result = printFile(editor, settings, request, file, scratch);
        if (result.status == kExportOk) {
            if (std::string error = writePdf(result.pdf, target, streams.out); !error.empty()) {
                result = failed(kExportFileError, std::move(error));
            }
        }
        if (result.status != kExportOk) {
            streams.err << prefix << result.message << '\n';
            worst = std::max(worst, result.status);
            continue;
        }
        written.emplace(target, file);
        if (batch) {
            streams.err << prefix << file << " -> " << target << " (" << result.pages
                        << (result.pages == 1 ? " page)\n" : " pages)\n");
        }
    }
    streams.err.flush();
    return worst;
}

int runPdfExportCommandLine(int argc, char** argv,
                            const std::function<std::unique_ptr<ConfigSaver>()>& openSettings) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const PdfExportArguments parsed = parsePdfExportArguments(arguments);
    if (parsed.kind == PdfExportParse::NotExport) {
        return -1;
    }
    const std::string programName = argc > 0 ? fileNamePart(argv[0]) : std::string("tavrel");
    if (parsed.kind == PdfExportParse::Error) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", programName.c_str(),
                     parsed.error.c_str(), programName.c_str());
        return kExportRefused;
    }
    // Printing to a file never shows a window: Qt's offscreen platform needs no display.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("tavrel"), nullptr};
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(qtArgc, qtArgv);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: printing needs a widget application\n", programName.c_str());
        return kExportFileError;
    }
    AppSettings settings;
    if (openSettings) {
        if (const std::unique_ptr<ConfigSaver> store = openSettings()) {
            RecentFiles recent([](const std::string&) { return false; }); // not needed here
            loadSettings(*store, settings, recent, '.');
        }
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the PDF goes out byte for byte
#endif
    PdfExportStreams streams{std::cout, std::cerr, programName};
    return exportPdfFiles(parsed.request, settings, streams);
}

} // namespace tavrel
