// "tavrel --export-pdf OUT FILE": a file printed as Print would print it (the stored print
// font and margins, the chosen columns and line numbers) into a PDF file or standard output,
// without a window or a display. Exit status 0 on success, 1 when a file cannot be read or
// written, 2 for a malformed command line.
#pragma once

#include "app/export_files.h"
#include "app/pdf_export_arguments.h"

namespace tavrel {

// Prints every file of the request; needs a QApplication. Returns 0 or the highest status
// of the files that failed (the others are still written).
int exportPdfFiles(const PdfExportRequest& request, const AppSettings& settings,
                   ExportStreams& streams);

} // namespace tavrel
