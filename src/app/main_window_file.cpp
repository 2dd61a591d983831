// The main window's loading and file commands: Load with and without the line-end repair,
// the title, New, Open, Save, Save as, the recent files, dropped files, Properties and the
// question to save.
#include "app/main_window.h"

#include "app/button_bar.h"
#include "app/document_file.h"
#include "app/file_properties.h"
#include "app/message_box.h"
#include "app/notice_bar.h"
#include "app/save_as_gif.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "platform/file_watch.h"
#include "platform/paths.h"
#include "platform/write_access.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tavrel {

namespace {

[[nodiscard]] bool sameFile(const std::string& a, const std::string& b) {
    if (a == b) {
        return true;
    }
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

} // namespace

void MainWindow::reportLoadFailure(const std::string& name, const std::string& reason) {
    if (options_.convert) {
        dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle), langText(103),
                            fileReasonText(name, reason));
    } else {
        showError(1, name, reason);
    }
}

bool MainWindow::load(const std::string& name) {
    std::string reason;
    std::uint64_t fileSize = 0;
    std::int64_t nulOffset = -1;
    // Every step below may run out of memory on a big file; the engine then keeps the old
    // document whole, and so does the window: its name, its edit and its modified flag.
    try {
        bool outOfMemory = false;
        std::optional<std::string> bytes = readWholeFile(name, nullptr, &reason, &outOfMemory);
        if (outOfMemory) {
            showOutOfMemory(name);
            return false;
        }
        if (!bytes) {
            reportLoadFailure(name, reason);
            return false;
        }
        fileSize = bytes->size();
        nulOffset = loadIntoViewer(m_->engine(), std::move(*bytes), options_, ViewerLoad::Replace);
    } catch (const std::bad_alloc&) {
        showOutOfMemory(name);
        return false;
    } catch (const std::exception& failure) {
        reportLoadFailure(name, failure.what());
        return false;
    }
    // A new file starts a fresh history: Undo must never bring back the previous document
    // under this file's name, where Save would write it over this file.
    m_->engine().clearUndo();
    nulOffset_ = nulOffset;
    nulFile_ = nulOffset >= 0 ? name : std::string();
    noticeNul(nulOffset, fileSize);

    fileName_ = name;
    fileWatch_->watch(name);
    fileGone_ = false;
    goneUnedited_ = false;
    updateTitle();
    addRecent(name);
    if (options_.autoWidth || options_.autoHeight) {
        sizeToContent();
    } else {
        sizeWindow(fileClass_, 0);
    }
    modified_ = false;
    setButtonSaveEnabled(false);
    focusAfterLoad();
    return true;
}

void MainWindow::focusAfterLoad() {
    QWidget* target = options_.exitFocus ? static_cast<QWidget*>(p_->exitButton()) : m_;
    if (!target->isEnabled() || target->focusPolicy() == Qt::NoFocus) {
        return;
    }
    // While the window is being created, this makes the control the one that gets the focus
    // when the window shows.
    target->setFocus();
}

void MainWindow::updateTitle() {
    // The task bar of this platform shows the window's title, so there is no separate
    // application title to set (Qt would append one to every title).
    setWindowTitle(QString::fromStdString(windowCaption(fileName_)));
    fileClass_ = fileClassOf(fileName_);
}

void MainWindow::setButtonSaveEnabled(bool on) {
    p_->saveButton()->setEnabled(on);
}

void MainWindow::editorChanged() {
    modified_ = true;
    goneUnedited_ = false;
    setButtonSaveEnabled(!fileName_.empty());
}

// --- The question to save -------------------------------------------------------------------

bool MainWindow::askToSave() {
    if (!modified_ || !options_.askChanges) {
        return false;
    }
    switch (dialogs().askToSave(this, QString::fromLatin1(kApplicationTitle), langText(101))) {
    case SaveAnswer::Yes:
        // Yes means "keep my text". When the save fails (its message was shown) or the Save
        // as dialog is cancelled, going on would discard that text: the answer becomes
        // Cancel and the document stays.
        return !save();
    case SaveAnswer::No:
        return false;
    case SaveAnswer::Cancel:
        break;
    }
    return true;
}

// --- Recent files ---------------------------------------------------------------------------

void MainWindow::addRecent(const std::string& name) {
    if (recent_.add(name)) {
        rebuildRecentMenu();
    }
}

void MainWindow::rebuildRecentMenu() {
    QMenu* menu = menus_.menu("file_recentfiles");
    menu->clear();
    for (const std::string& caption : recent_.items()) {
        QString text = QString::fromStdString(caption);
        text.replace(QLatin1Char('&'), QStringLiteral("&&")); // a name, not a mnemonic
        QAction* item = menu->addAction(text);
        connect(item, &QAction::triggered, this, [this, caption] { openRecent(caption); });
    }
    menu->setEnabled(!recent_.empty());
}

void MainWindow::openRecent(const std::string& caption) {
    if (!askToSave()) {
        load(caption);
    }
}

// --- New, Open, drop ------------------------------------------------------------------------

void MainWindow::newDocument() {
    if (askToSave()) {
        return;
    }
    m_->engine().clearText();
    m_->engine().clearUndo(); // a new document has no history to undo into
    fileName_.clear();
    fileWatch_->stop();
    nulOffset_ = -1;
    nulFile_.clear();
    notice_->hide();
    modified_ = false;
    updateTitle();
    setButtonSaveEnabled(false);
    if (m_->isEnabled()) {
        m_->setFocus();
    }
}

void MainWindow::open() {
    if (askToSave()) {
        return;
    }
    FileDialogRequest request{QString::fromLatin1(kFileFilter), {}, {}};
    const std::string folder = folderPart(fileName_);
    if (!folder.empty() && platform::isDirectory(folder)) {
        request.initialFolder = QString::fromStdString(folder);
        request.fileName = QString::fromStdString(fileName_);
    }
    if (const auto chosen = dialogs().openFileName(this, request)) {
        load(*chosen);
    }
}

void MainWindow::dropFiles(const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    // Only the first name counts; a folder or a vanished file loads nothing and asks
    // nothing. A drop replaces the document like any other load, so it asks first.
    const std::string& first = names.front();
    if (!platform::isFile(first) || askToSave()) {
        return;
    }
    load(first);
}

void MainWindow::showProperties() {
    // The lines of the document in memory: reading the file again would cost seconds and
    // gigabytes for a large one, and would miss the edits.
    showFileProperties(this, QString::fromStdString(fileName_), m_->engine().paragraphsViewCount());
}

void MainWindow::noticeNul(std::int64_t offset, std::uint64_t fileSize) {
    if (offset < 0) {
        notice_->hide();
        return;
    }
    const QString text =
        langText(411, QStringLiteral("The text stops at a NUL byte at offset %1: the %2 bytes "
                                     "from there to the end of the file are not shown."))
            .arg(offset)
            .arg(fileSize - static_cast<std::uint64_t>(offset));
    notice_->showNotice(text);
}

// --- Saving ---------------------------------------------------------------------------------

bool MainWindow::mayDropAfterNul(const std::string& path) {
    if (nulOffset_ < 0 || !sameFile(path, nulFile_)) {
        return true;
    }
    const QString text =
        QStringLiteral("The text of this file stopped at a NUL byte at offset %1; the editor "
                       "never showed what follows it.\n\nSaving writes only the text shown, so "
                       "everything from that byte on would be lost. Save anyway?")
            .arg(nulOffset_);
    return dialogs().confirm(this, QString::fromLatin1(kApplicationTitle), text);
}

bool MainWindow::writeDocument(const std::string& path) {
    if (!mayDropAfterNul(path)) {
        return false; // the user kept the file as it is
    }
    // A file without write permission is refused for every user: root could write it, but
    // its owner marked it read-only.
    if (platform::isFile(path) && (!hasWriteBit(path) || !platform::canWrite(path))) {
        showError(2, path, std::strerror(EACCES));
        return false;
    }
    // The paragraphs stream into the writer: a large document is never copied into one
    // string on its way to the disk.
    const TextEngine& engine = m_->engine();
    const WriteStatus status = setup_.writer(path, [&engine](const ChunkSink& sink) {
        return engine.write([&sink](const char* piece, std::size_t size) {
            return sink(std::string_view(piece, size));
        });
    });
    if (!status.ok()) {
        showError(2, status.error);
        return false;
    }
    if (path == fileWatch_->path()) {
        shownFileWritten();
    }
    if (nulOffset_ >= 0 && sameFile(path, nulFile_)) {
        nulOffset_ = -1; // the file now holds exactly the text shown
        nulFile_.clear();
        notice_->hide();
    }
    return true;
}

bool MainWindow::save() {
    if (fileName_.empty()) {
        return saveAs();
    }
    if (!writeDocument(fileName_)) {
        return false;
    }
    addRecent(fileName_);
    modified_ = false;
    setButtonSaveEnabled(false);
    return true;
}

// "Save as GIF image..." and "Save as PNG image...": the visible text area as a picture; the
// folder of the last Save as is offered and left as it is.
GifSaveCommand MainWindow::imageSaveCommand() {
    GifSaveCommand command;
    command.parent = this;
    command.currentFileName = fileName_;
    command.lastSaveFolder = options_.lastDir;
    command.askFileName = [this](const GifSaveRequest& request) {
        return dialogs().saveFileName(
            this, FileDialogRequest{request.filter, request.initialFolder, request.proposedName});
    };
    command.text = [this](int number) { return langText(number); };
    command.showError = [this](const QString& caption, const QString& text,
                               const QString& details) {
        dialogs().showError(this, caption, text, details);
    };
    return command;
}

void MainWindow::saveAsGif() {
    tavrel::saveAsGif(*m_, imageSaveCommand());
}

void MainWindow::saveAsPng() {
    tavrel::saveAsPng(*m_, imageSaveCommand());
}

bool MainWindow::saveAs() {
    const FileDialogRequest request{QString::fromLatin1(kFileFilter),
                                    QString::fromStdString(options_.lastDir),
                                    QString::fromStdString(fileNamePart(fileName_))};
    const auto chosen = dialogs().saveFileName(this, request);
    if (!chosen) {
        return false;
    }
    const std::string name = saveAsName(*chosen);
    // The dialog asked about the name the user typed; when ".txt" was appended, the file
    // written is another one, and replacing it is asked here.
    if (name != *chosen && std::filesystem::exists(name)) {
        const QString question =
            langText(410, QStringLiteral("This file already exists. Do you want to replace it?"));
        if (!dialogs().confirm(this, QString::fromLatin1(kApplicationTitle), question,
                               fileReasonText(name, {}))) {
            return false;
        }
    }
    const std::string oldName = fileName_;
    fileName_ = name;
    if (!writeDocument(fileName_)) {
        fileName_ = oldName;
        return false;
    }
    fileWatch_->watch(fileName_);
    options_.lastDir = folderPart(fileName_);
    addRecent(fileName_);
    modified_ = false;
    setButtonSaveEnabled(false);
    updateTitle();
    return true;
}

} // namespace tavrel
