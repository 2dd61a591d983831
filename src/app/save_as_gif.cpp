// The "Save as GIF image..." command: capture, picture, dialog, write, and the one error box
// for every failure on the way.
#include "app/save_as_gif.h"

#include "app/document_title.h"
#include "app/export_render.h"
#include "editor/qt/text_editor.h"
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tavrel {

namespace {

std::optional<std::string> askWithQtDialog(QWidget* parent, const GifSaveRequest& request) {
    const QString start = request.initialFolder.isEmpty()
                              ? request.proposedName
                              : QDir(request.initialFolder).filePath(request.proposedName);
    const QString chosen = QFileDialog::getSaveFileName(parent, QString(), start, request.qtFilter);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(chosen).toStdString();
}

} // namespace

std::string proposedGifName(std::string_view currentFileName) {
    std::string name = fileNamePart(currentFileName);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos) {
        name.resize(dot);
    }
    if (name.empty()) {
        name = kDefaultGifBaseName;
    }
    return name + ".gif";
}

GifSaveResult saveAsGif(TextEditor& editor, const GifSaveCommand& command) {
    const GifSaveRequest request{
        QString::fromLatin1(kGifFileFilter), QString::fromLatin1(kGifFileFilterQt),
        QFile::decodeName(QByteArray::fromStdString(command.lastSaveFolder)),
        QFile::decodeName(QByteArray::fromStdString(proposedGifName(command.currentFileName)))};
    try {
        if (editor.viewport()->width() <= 0 || editor.viewport()->height() <= 0) {
            throw std::runtime_error("the editor shows no pixels to capture");
        }
        const QImage capture = editor.renderViewport();
        const GifPicture picture = pictureFromCapture(capture, editor.color());
        const std::optional<std::string> fileName = command.askFileName
                                                        ? command.askFileName(request)
                                                        : askWithQtDialog(command.parent, request);
        if (!fileName) {
            return GifSaveResult::Cancelled;
        }
        const std::vector<std::uint8_t> bytes = picture.saveToBytes();
        const WriteStatus status = platform::writeFileAtomically(
            *fileName, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (!status.ok()) {
            throw std::runtime_error(status.error);
        }
        return GifSaveResult::Saved;
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
        return GifSaveResult::Failed;
    }
}

} // namespace tavrel
