// "tavrel --export-gif OUT FILE": a file rendered as the viewer would show it (the user's
// font and colours, word wrap off or at --wrap N characters), the whole document in one image,
// written as a GIF file or to standard output, without a window or a display. Several files
// go to a folder with --output-dir. Exit status 0 on success, 1 when a file cannot be read or
// written, 2 for an image larger than the format allows and for a malformed command line.
#pragma once

#include "app/export_files.h"
#include "app/gif_export_arguments.h"

namespace tavrel {

// Exports every file of the request; needs a QApplication. Returns the exit status: 0, or
// the highest status among the files that failed (the others are still exported).
int exportGifFiles(const GifExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams);

} // namespace tavrel
