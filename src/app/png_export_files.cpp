// The PNG export: the painted document enlarged and encoded by Qt's PNG writer.
#include "app/png_export_files.h"

#include "app/image_export_files.h"
#include "app/png_image.h"
#include "app/save_as_image.h"

#include <stdexcept>

namespace tavrel {

int exportPngFiles(const PngExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams) {
    const int scale = request.scale;
    const ImageEncoding png{
        "PNG", scale, [](const std::string& file) { return proposedImageName(file, ".png"); },
        [scale](const QImage& painted, const QColor&) {
            const QImage scaled = scaledForPng(painted, scale);
            if (scaled.isNull()) {
                throw std::runtime_error("not enough memory for the enlarged image");
            }
            std::string error;
            const QByteArray bytes = encodePng(scaled, error);
            if (bytes.isEmpty()) {
                throw std::runtime_error(error);
            }
            return bytes.toStdString();
        }};
    return exportImageFiles(request, png, settings, environment, streams);
}

} // namespace tavrel
