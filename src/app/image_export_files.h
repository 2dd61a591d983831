// The image exports' part of the export loop, shared by GIF and PNG: each file loaded the way
// the viewer loads it, the whole document painted by the editor's own painter, refused before
// any pixel is made when the image (at its scale) would pass the formats' limit, and handed to
// the format's encoder.
#pragma once

#include "app/export_files.h"
#include "app/gif_export_arguments.h"

#include <QColor>
#include <QImage>

#include <functional>
#include <string>
#include <string_view>

namespace tavrel {

struct ImageEncoding {
    std::string_view format; // "GIF": "a GIF image can be at most ..."
    int scale = 1;           // the painted image is enlarged this many times
    // The output file's name in a folder, for a document file.
    std::function<std::string(const std::string& file)> nameInFolder;
    // The file's bytes for the painted (not yet enlarged) image; throws what goes wrong.
    std::function<std::string(const QImage& painted, const QColor& background)> encode;
    // A thumbnail's look at the file: its head alone is read (app/first_screen.h) and its first
    // screen alone painted, so a huge or binary file is as quick as a small one.
    bool firstScreenOnly = false;
};

// Exports every file of the request; needs a QApplication. Returns the exit status: 0, or
// the highest status among the files that failed (the others are still exported).
int exportImageFiles(const GifExportRequest& request, const ImageEncoding& encoding,
                     const AppSettings& settings, const ExportEnvironment& environment,
                     ExportStreams& streams);

} // namespace tavrel
