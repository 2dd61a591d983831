// "tavrel --export-png OUT FILE": the image the GIF export paints, enlarged --scale N times
// with nearest-neighbour sampling and written as a PNG file (or to standard output) with all
// its colours; --wrap N and --output-dir as for the GIF export, and the same exit statuses.
#pragma once

#include "app/export_files.h"
#include "app/png_export_arguments.h"

namespace tavrel {

// Exports every file of the request; needs a QApplication. Returns the exit status: 0, or
// the highest status among the files that failed (the others are still exported).
int exportPngFiles(const PngExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams);

} // namespace tavrel
