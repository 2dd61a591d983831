// The image exports' share of the export loop: loads each file the way the viewer loads it,
// paints the whole document with the editor's own painter and hands the image to the format.
// Sizes are checked before any image is made, so a document too large for the format costs
// only its layout.
#include "app/image_export_files.h"

#include "app/art_look.h"
#include "app/export_load.h"
#include "app/export_render.h"
#include "app/first_screen.h"
#include "app/settings_catalogue.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"

#include <exception>

namespace tavrel {

namespace {

std::string sizeText(const DocumentImageSize& size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels";
}

ExportedFile exportDocument(TextEditor& editor, const AppSettings& settings,
                            const std::string& file, const ImageEncoding& encoding) {
    std::string error;
    ArtFile art;
    if (!loadForExport(editor.engine(), file, settings,
                       encoding.firstScreenOnly ? kFirstScreenReadLimit : 0, error, &art)) {
        return exportFailure(kExportFileError, error);
    }
    const ArtLook look(editor, art, settings);
    try {
        const DocumentImageSize size =
            encoding.firstScreenOnly ? measureFirstScreen(editor) : measureDocumentImage(editor);
        const std::int64_t scale = encoding.scale;
        const DocumentImageSize scaled{size.width * scale, size.height * scale};
        if (!scaled.fitsGif()) {
            // Held to GIF's limit in every format, so that no export takes a document that
            // another one refuses.
            std::string message = file + ": the image would be " + sizeText(scaled) + ", but a " +
                                  std::string(encoding.format) + " image can be at most " +
                                  std::to_string(kGifMaxDimension) + " pixels wide and high";
            if (scaled.width > kGifMaxDimension && !editor.wordWrap()) {
                message += " (" + std::string(kWrapOption) + " N wraps the lines)";
            }
            return exportFailure(kExportRefused, message);
        }
        const QImage image = encoding.firstScreenOnly ? paintDocumentLines(editor, size)
                                                      : renderDocumentImage(editor, size);
        if (image.isNull()) {
            return exportFailure(kExportFileError,
                                 file + ": not enough memory for an image of " + sizeText(size));
        }
        ExportedFile result;
        result.summary = sizeText({image.width() * scale, image.height() * scale});
        result.bytes = encoding.encode(image, editor.color());
        return result;
    } catch (const std::exception& e) {
        return exportFailure(kExportFileError, file + ": " + e.what());
    }
}

} // namespace

int exportImageFiles(const GifExportRequest& request, const ImageEncoding& encoding,
                     const AppSettings& settings, const ExportEnvironment& environment,
                     ExportStreams& streams) {
    TextEditor editor;
    applyViewerSettings(editor, settings);
    if (environment.prepareEditor) {
        environment.prepareEditor(editor, settings);
    }
    setExportWrap(editor, request.wrapColumns);
    const ExportMaker maker{
        "image", "not exported", encoding.nameInFolder,
        [&](const std::string& file) { return exportDocument(editor, settings, file, encoding); }};
    return writeExports(request, maker, streams);
}

} // namespace tavrel
