// Each format reads the arguments in turn and the first that finds its own option runs; what
// follows (the message for a malformed line, the offscreen application, the user's settings)
// is the same for all. A new format is one more parser and one more line below.
#include "app/export_command_line.h"

#include "app/document_title.h"
#include "app/gif_export_files.h"
#include "app/pdf_export_files.h"
#include "app/png_export_files.h"
#include "app/recent_files.h"
#include "app/settings_catalogue.h"
#include "app/thumbnail_files.h"

#include <QApplication>

#include <cstdio>
#include <iostream>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace tavrel {

namespace {

using RunExport = std::function<int(const AppSettings& settings, ExportStreams& streams)>;

int runParsed(int argc, char** argv, ExportParse kind, const std::string& error,
              const ExportEnvironment& environment, const RunExport& run) {
    const std::string programName = argc > 0 ? fileNamePart(argv[0]) : std::string("tavrel");
    if (kind == ExportParse::Error) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", programName.c_str(),
                     error.c_str(), programName.c_str());
        return kExportRefused;
    }

    // Exporting never shows a window: Qt's offscreen platform needs no display. Qt gets only
    // the program name, so none of the file names is taken for one of its options.
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : const_cast<char*>("tavrel"), nullptr};
    std::unique_ptr<QApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(qtArgc, qtArgv);
    } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        std::fprintf(stderr, "%s: the export needs a widget application\n", programName.c_str());
        return kExportFileError;
    }

    const AppSettings settings = exportSettings(environment);
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY); // the file goes out byte for byte
#endif
    ExportStreams streams{std::cout, std::cerr, programName};
    return run(settings, streams);
}

} // namespace

AppSettings exportSettings(const ExportEnvironment& environment) {
    AppSettings settings;
    if (environment.openSettings) {
        if (const std::unique_ptr<ConfigSaver> store = environment.openSettings()) {
            RecentFiles recent([](const std::string&) { return false; }); // not needed here
            loadSettings(*store, settings, recent, '.');
        }
    }
    return settings;
}

int runExportCommandLine(int argc, char** argv, const ExportEnvironment& environment) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    if (const GifExportArguments gif = parseGifExportArguments(arguments);
        gif.kind != ExportParse::NotExport) {
        return runParsed(argc, argv, gif.kind, gif.error, environment,
                         [&](const AppSettings& settings, ExportStreams& streams) {
                             return exportGifFiles(gif.request, settings, environment, streams);
                         });
    }
    if (const PngExportArguments png = parsePngExportArguments(arguments);
        png.kind != ExportParse::NotExport) {
        return runParsed(argc, argv, png.kind, png.error, environment,
                         [&](const AppSettings& settings, ExportStreams& streams) {
                             return exportPngFiles(png.request, settings, environment, streams);
                         });
    }
    if (const ThumbnailArguments thumbnail = parseThumbnailArguments(arguments);
        thumbnail.kind != ExportParse::NotExport) {
        return runParsed(argc, argv, thumbnail.kind, thumbnail.error, environment,
                         [&](const AppSettings& settings, ExportStreams& streams) {
                             return exportThumbnail(thumbnail.request, settings, environment,
                                                    streams);
                         });
    }
    if (const PdfExportArguments pdf = parsePdfExportArguments(arguments);
        pdf.kind != ExportParse::NotExport) {
        return runParsed(argc, argv, pdf.kind, pdf.error, environment,
                         [&](const AppSettings& settings, ExportStreams& streams) {
                             return exportPdfFiles(pdf.request, settings, streams);
                         });
    }
    return -1;
}

} // namespace tavrel
