// The thumbnail: the image exports' loop on the file's first screen, with a smooth reduction
// before Qt's PNG writer. A picture already small enough keeps its size: file managers
// enlarge nothing themselves either.
#include "app/thumbnail_files.h"

#include "app/export_render.h"
#include "app/image_export_files.h"
#include "app/png_image.h"
#include "app/save_as_image.h"

namespace tavrel {

int exportThumbnail(const ThumbnailRequest& request, const AppSettings& settings,
                    const ExportEnvironment& environment, ExportStreams& streams) {
    const int size = request.size;
    ImageEncoding thumbnail{
        "PNG", 1, [](const std::string& file) { return proposedImageName(file, ".png"); },
        [size](const QImage& painted, const QColor&) {
            const QImage fitted =
                painted.width() <= size && painted.height() <= size
                    ? painted
                    : painted.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            return pngFileBytes(fitted, "not enough memory for the thumbnail");
        }};
    thumbnail.firstScreenOnly = true;
    GifExportRequest target;
    static_cast<ExportTarget&>(target) = request;
    return exportImageFiles(target, thumbnail, settings, environment, streams);
}

} // namespace tavrel
