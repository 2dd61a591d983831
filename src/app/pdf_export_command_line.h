// "tavrel --export-pdf OUT FILE": a file printed as Print would print it (the stored print
// font and margins, the chosen columns and line numbers) into a PDF file or standard output,
// without a window or a display. Exit status 0 on success, 1 when a file cannot be read or
// written, 2 for a malformed command line.
#pragma once

#include "app/pdf_export_arguments.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

namespace tavrel {

class ConfigSaver;
struct AppSettings;

struct PdfExportStreams {
    std::ostream& out;
    std::ostream& err;
    std::string programName = "tavrel";
};

// Prints every file of the request; needs a QApplication. Returns 0 or the highest status
// of the files that failed (the others are still written).
int exportPdfFiles(const PdfExportRequest& request, const AppSettings& settings,
                   PdfExportStreams& streams);

// -1 when the arguments do not ask for it, else the exit status. Makes its own
// QApplication on Qt's offscreen platform when none exists yet.
int runPdfExportCommandLine(int argc, char** argv,
                            const std::function<std::unique_ptr<ConfigSaver>()>& openSettings);

} // namespace tavrel
