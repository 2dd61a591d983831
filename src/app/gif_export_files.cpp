// The image export's part of the export loop: loads each file the way the viewer loads it,
// paints the whole document with the editor's own painter, and makes the GIF image. Sizes are
// checked before any image is made, so a document too large for the format costs only its
// layout.
#include "app/gif_export_files.h"

#include "app/document_file.h"
#include "app/export_render.h"
#include "app/save_as_gif.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"

#include <exception>
#include <optional>

namespace tavrel {

namespace {

std::string sizeText(const DocumentImageSize& size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels";
}

ExportedFile exportDocument(TextEditor& editor, const AppSettings& settings,
                            const std::string& file) {
    std::string error;
    std::optional<std::string> bytes = readWholeFile(file, &error);
    if (!bytes) {
        return exportFailure(kExportFileError, error);
    }
    const std::size_t fileSize = bytes->size();
    try {
        const std::int64_t nul = loadIntoViewer(editor.engine(), std::move(*bytes), settings);
        const DocumentImageSize size = measureDocumentImage(editor);
        if (!size.fitsGif()) {
            std::string message = file + ": the image would be " + sizeText(size) +
                                  ", but a GIF image can be at most " +
                                  std::to_string(kGifMaxDimension) + " pixels wide and high";
            if (size.width > kGifMaxDimension && !editor.wordWrap()) {
                message += " (" + std::string(kWrapOption) + " N wraps the lines)";
            }
            return exportFailure(kExportRefused, message);
        }
        const QImage image = renderDocumentImage(editor, size);
        if (image.isNull()) {
            return exportFailure(kExportFileError,
                                 file + ": not enough memory for an image of " + sizeText(size));
        }
        ExportedFile result;
        if (nul >= 0) {
            // The window says this in its notice line; a script only sees standard error.
            result.warning = file + ": warning: the text stops at a NUL byte at offset " +
                             std::to_string(nul) + "; the " +
                             std::to_string(fileSize - static_cast<std::size_t>(nul)) +
                             " bytes from there to the end of the file are not in the image";
        }
        result.summary = sizeText({image.width(), image.height()});
        const std::vector<std::uint8_t> gif =
            pictureFromCapture(image, editor.color()).saveToBytes();
        result.bytes.assign(gif.begin(), gif.end());
        return result;
    } catch (const std::exception& e) {
        return exportFailure(kExportFileError, file + ": " + e.what());
    }
}

} // namespace

int exportGifFiles(const GifExportRequest& request, const AppSettings& settings,
                   const ExportEnvironment& environment, ExportStreams& streams) {
    TextEditor editor;
    applyViewerSettings(editor, settings);
    if (environment.prepareEditor) {
        environment.prepareEditor(editor, settings);
    }
    setExportWrap(editor, request.wrapColumns);
    const ExportMaker maker{
        "image", "not exported", [](const std::string& file) { return proposedGifName(file); },
        [&](const std::string& file) { return exportDocument(editor, settings, file); }};
    return writeExports(request, maker, streams);
}

} // namespace tavrel
