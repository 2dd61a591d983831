// The "Save as GIF image..." and "Save as PNG image..." commands: capture, picture, dialog,
// write, and the one error box for every failure on the way.
#include "app/save_as_image.h"
#include "platform/qt_file_names.h"

#include "app/document_title.h"
#include "app/export_render.h"
#include "app/png_image.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdint>
#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

namespace {

std::optional<std::string> askWithQtDialog(QWidget* parent, const ImageSaveRequest& request) {
    const QString start = request.initialFolder.isEmpty()
                              ? request.proposedName
                              : QDir(request.initialFolder).filePath(request.proposedName);
    const QString chosen = QFileDialog::getSaveFileName(parent, QString(), start, request.qtFilter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return platform::fileNameOf(chosen);
}

} // namespace

std::string proposedImageName(std::string_view currentFileName, std::string_view extension) {
    std::string name = fileNamePart(currentFileName);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) {
        name.resize(dot);
    }
    if (name.empty()) {
        name = kDefaultGifBaseName;
    }
    return name + std::string(extension);
}

std::string proposedGifName(std::string_view currentFileName) {
    return proposedImageName(currentFileName, ".gif");
}

namespace {

// The one way of both commands: capture, encode, ask, write, and the one error box.
// `encode` turns the capture into the file's bytes and throws what goes wrong.
ImageSaveResult saveCapture(TextEditor& editor, const ImageSaveCommand& command,
                            const ImageSaveRequest& request,
                            const std::function<std::string(const QImage&)>& encode) {
    try {
        if (editor.viewport()->width() <= 0 || editor.viewport()->height() <= 0) {
            throw std::runtime_error("the editor shows no pixels to capture");
        }
        const std::string bytes = encode(editor.renderViewport());
        const std::optional<std::string> fileName = command.askFileName
                                                        ? command.askFileName(request)
                                                        : askWithQtDialog(command.parent, request);
        if (!fileName) {
            return ImageSaveResult::Cancelled;
        }
        const WriteStatus status = platform::writeFileAtomically(*fileName, bytes);
        if (!status.ok()) {
            throw std::runtime_error(status.error);
        }
        return ImageSaveResult::Saved;
    } catch (const std::exception& e) {
        // One box for everything, with the language text; what went wrong (a full disk, the
        // file's name) is its informative text.
        const QString details = QString::fromLocal8Bit(e.what());
        const QString caption = command.text ? command.text(kErrorCaptionText) : QString();
        const QString text = command.text ? command.text(kGifSaveFailedText) : QString();
        if (command.showError) {
            command.showError(caption, text, details);
        } else {
            QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, command.parent);
            box.setInformativeText(details);
            box.exec();
        }
        return ImageSaveResult::Failed;
    }
}

} // namespace

ImageSaveResult saveAsGif(TextEditor& editor, const ImageSaveCommand& command) {
    const ImageSaveRequest request{QString::fromLatin1(kGifFileFilter),
                                   QString::fromLatin1(kGifFileFilterQt),
                                   platform::qtFileName(command.lastSaveFolder),
                                   platform::qtFileName(proposedGifName(command.currentFileName))};
    const QColor background = editor.color();
    return saveCapture(editor, command, request, [&background](const QImage& capture) {
        const std::vector<std::uint8_t> gif = pictureFromCapture(capture, background).saveToBytes();
        return std::string(reinterpret_cast<const char*>(gif.data()), gif.size());
    });
}

ImageSaveResult saveAsPng(TextEditor& editor, const ImageSaveCommand& command) {
    const ImageSaveRequest request{
        QString::fromLatin1(kPngFileFilter), QString::fromLatin1(kPngFileFilterQt),
        platform::qtFileName(command.lastSaveFolder),
        platform::qtFileName(proposedImageName(command.currentFileName, ".png"))};
    return saveCapture(editor, command, request, [](const QImage& capture) {
        return pngFileBytes(capture, "not enough memory for the image");
    });
}

} // namespace tavrel
