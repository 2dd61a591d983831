// The GIF export: the painted document reduced to the web palette with the editor's
// background as the screen's background and the tables optimised.
#include "app/gif_export_files.h"

#include "app/export_render.h"
#include "app/image_export_files.h"
#include "app/save_as_image.h"

#include <cstdint>
#include <vector>

namespace tavrel {

int exportGifFiles(const GifExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams) {
    const ImageEncoding gif{"GIF", 1, [](const std::string& file) { return proposedGifName(file); },
                            [](const QImage& painted, const QColor& background) {
                                const std::vector<std::uint8_t> bytes =
                                    pictureFromCapture(painted, background).saveToBytes();
                                return std::string(bytes.begin(), bytes.end());
                            }};
    return exportImageFiles(request, gif, settings, environment, streams);
}

} // namespace tavrel
