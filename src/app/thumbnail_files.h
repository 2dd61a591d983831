// "tavrel --thumbnail SIZE INPUT OUTPUT": the first screen of a file, painted as the PNG
// export paints the whole file, shrunk to fit SIZE x SIZE pixels and written as a PNG file,
// for a file manager's thumbnailer entry.
#pragma once

#include "app/export_files.h"
#include "app/thumbnail_arguments.h"

namespace tavrel {

// Needs a QApplication. Returns 0, or the export's status for a file that could not be read.
int exportThumbnail(const ThumbnailRequest& request, const AppSettings& settings,
                    const ExportEnvironment& environment, ExportStreams& streams);

} // namespace tavrel
