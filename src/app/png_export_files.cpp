// The PNG export: the painted document enlarged and encoded by Qt's PNG writer.
#include "app/png_export_files.h"

#include "app/image_export_files.h"
#include "app/png_image.h"
#include "app/save_as_image.h"

namespace tavrel {

int exportPngFiles(const PngExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams) {
    const int scale = request.scale;
    const ImageEncoding png{"PNG", scale,
                            [](const std::string& file) { return proposedImageName(file, ".png"); },
                            [scale](const QImage& painted, const QColor&) {
                                return pngFileBytes(scaledForPng(painted, scale),
                                                    "not enough memory for the enlarged image");
                            }};
    return exportImageFiles(request, png, settings, environment, streams);
}

} // namespace tavrel
