// The main window's loading and file commands: Load with and without the line-end repair
// (a large file on a worker thread), the title, New, Open, Save, Save as, the recent files,
// dropped files, Properties and the question to save.
#include "app/main_window.h"

#include "app/background_load.h"
#include "app/background_save.h"
#include "app/button_bar.h"
#include "app/document_file.h"
#include "app/file_encoding.h"
#include "app/file_load.h"
#include "app/file_properties.h"
#include "app/load_progress_bar.h"
#include "app/message_box.h"
#include "app/notice_bar.h"
#include "app/sauce_properties.h"
#include "app/save_as_image.h"
#include "app/viewer_setup.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"
#include "platform/file_watch.h"
#include "platform/paths.h"
#include "platform/write_access.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace tavrel {

namespace {

constexpr int kStillLoadingText = 527;
constexpr int kSavingText = 529;
constexpr int kTypingRefusedText = 528;

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
    cancelLoading(); // the latest request wins over one still running
    loadStamp_ = platform::fileStampOf(name);
    // The Encoding menu's choice holds for the file it was made for (and its reloads); any
    // other file is read the automatic way.
    const EncodingChoice encoding =
        sameFile(name, fileName_) ? encodingChoiceOf(options_.encoding) : EncodingChoice::Automatic;
    const FileLoadRules rules{
        options_.convert, !options_.convert && editor_->engine().hasOption(eoDiscardTrailingSpaces),
        encoding};
    auto job = std::make_unique<FileLoad>(name, rules);
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(name, error);
    if (error || size < setup_.backgroundLoadBytes) {
        job->run(); // a few milliseconds: no progress line, no second thread
        return finishLoad(*job);
    }
    return startBackgroundLoad(std::move(job));
}

bool MainWindow::startBackgroundLoad(std::unique_ptr<FileLoad> job) {
    const QString name = QString::fromStdString(fileNamePart(job->path()));
    loading_ = std::make_unique<BackgroundLoad>(std::move(job));
    loading_->onProgress = [this](int percent) { progress_->setPercent(percent); };
    loading_->onFinished = [this] {
        // Its own call is still on the stack: it goes once the event loop has it again
        // (not inside the message box a failed load may show).
        BackgroundLoad* done = loading_.release();
        done->deleteLater();
        endLoadingLook();
        // A command that does not go through the read-only editor (a Format item, Undo)
        // may have changed the old document meanwhile: that text is asked about again
        // before it goes, and Cancel keeps it instead of the loaded file.
        if (editedWhileLoading_ && done->load().status() == FileLoad::Status::Done) {
            dropFirstPiece(); // the question is about the old text: it is shown again
            if (askToSave()) {
                forgetLoadView();
                return;
            }
        }
        finishLoad(done->load());
    };
    loading_->onFirstPiece = [this] { showFirstPiece(loading_->load()); };
    progress_->reset(langText(490, QStringLiteral("Loading %1 ...")).arg(name),
                     langText(491, QStringLiteral("Esc cancels")));
    progressDelay_.start(setup_.loadProgressDelayMs);
    // The old document stays on screen until the new one is complete; an edit made to it
    // meanwhile would be thrown away unasked, so it is only looked at.
    editedWhileLoading_ = false;
    readOnlyBeforeLoad_ = editor_->isReadOnly();
    editor_->setReadOnly(true);
    cancelLoad_->setEnabled(true);
    // The shown file may change while another one loads: that is reported when the load
    // ends without replacing it, not by cancelling the load the user asked for.
    fileWatch_->hold(true);
    applyWindowEnabling();
    try {
        loading_->start();
    } catch (const std::system_error&) {
        // No thread to be had (the address space is nearly used up): the load runs here,
        // as a small one does, and fails or succeeds the same way.
        const std::unique_ptr<BackgroundLoad> unstarted = std::move(loading_);
        endLoadingLook();
        unstarted->load().run();
        return finishLoad(unstarted->load());
    }
    return true;
}

void MainWindow::cancelLoading() {
    if (!loading_) {
        return;
    }
    // The worker may be inside a step that cannot stop (the paragraph records of a huge
    // file); it finishes in the background and its document is dropped.
    BackgroundLoad* old = loading_.release();
    old->cancel();
    old->setParent(this); // waited for when the window goes, at the latest
    old->onProgress = nullptr;
    old->onFirstPiece = nullptr;
    old->onFinished = [old] { old->deleteLater(); };
    endLoadingLook();
    dropFirstPiece(); // the old document and its title come back as they were
    forgetLoadView();
}

void MainWindow::endLoadingLook() {
    progressDelay_.stop();
    progress_->hide();
    cancelLoad_->setEnabled(false);
    editor_->setReadOnly(readOnlyBeforeLoad_);
    fileWatch_->hold(false); // a successful load watches its own file right after
    applyWindowEnabling();
}

void MainWindow::noticeStillLoading() {
    notice_->showNotice(langText(
        kStillLoadingText, QStringLiteral("The file is still loading: nothing can be changed or "
                                          "saved until it is shown whole. Esc cancels the load.")));
}

bool MainWindow::finishLoad(FileLoad& job) {
    const std::string& name = job.path();
    // Any message below is about the old document's window, which is shown again first.
    dropFirstPiece();
    switch (job.status()) {
    case FileLoad::Status::Done:
        break;
    case FileLoad::Status::OutOfMemory:
        forgetLoadView();
        showOutOfMemory(name);
        return false;
    case FileLoad::Status::Failed:
        forgetLoadView();
        reportLoadFailure(name, job.reason());
        return false;
    case FileLoad::Status::Pending:
    case FileLoad::Status::Cancelled:
        forgetLoadView();
        return false;
    }
    // Taking the document allocates nothing; the observers' resets may. The engine then
    // keeps the old document whole, and so does the window: its name, its edit and its
    // modified flag.
    try {
        editor_->engine().adoptDocument(job.document(), job.result(), !job.rules().convert);
    } catch (const std::bad_alloc&) {
        forgetLoadView();
        showOutOfMemory(name);
        return false;
    }
    // A new file starts a fresh history: Undo must never bring back the previous document
    // under this file's name, where Save would write it over this file.
    editor_->engine().clearUndo();
    notice_->hide(); // what was told about the previous document does not hold for this one
    setTextForm(job.form());
    setArt(job.art());
    // The reading this load used is the window's from now on (another file's is Automatic).
    options_.encoding = static_cast<std::int32_t>(job.rules().encoding);
    editor_->setByteGlyphs(viewerByteGlyphs(options_));
    noticeUnreadableEncoding();

    fileName_ = name;
    fileWatch_->watch(name, loadStamp_);
    fileGone_ = false;
    goneUnedited_ = false;
    updateTitle();
    addRecent(name);
    if (options_.autoWidth || options_.autoHeight || art_.isAnsi()) {
        sizeToContent();
    } else {
        sizeWindow(fileClass_, 0);
    }
    modified_ = false;
    applyWindowEnabling();
    focusAfterLoad();
    applyLoadView();
    return true;
}

void MainWindow::focusAfterLoad() {
    QWidget* target =
        options_.exitFocus ? static_cast<QWidget*>(buttonBar_->exitButton()) : editor_;
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
    // Bytes drawn as Windows-1252 say so too: the title tells whenever the text is not shown
    // as the plain code page 437 bytes.
    const bool windows1252 = textForm_.encoding == TextEncoding::Bytes &&
                             encodingChoiceOf(options_.encoding) == EncodingChoice::Windows1252;
    setWindowTitle(QString::fromStdString(windowCaption(fileName_) + encodingTitleMark(textForm_) +
                                          (windows1252 ? " [Windows-1252]" : "") +
                                          (art_.isAnsi() ? " [ANSI]" : "")));
    fileClass_ = fileClassOf(fileName_);
}

void MainWindow::editorChanged() {
    editedWhileLoading_ = editedWhileLoading_ || isLoading();
    modified_ = true;
    goneUnedited_ = false;
    applyWindowEnabling();
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
        connect(item, &QAction::triggered, this,
                platform::guardedSlot([this, caption] { openRecent(caption); }));
    }
    applyWindowEnabling();
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
    cancelLoading(); // New wins over a file still loading
    editor_->engine().paragraphs().clear();
    editor_->engine().clearUndo(); // a new document has no history to undo into
    fileName_.clear();
    setTextForm(UnicodeForm{}); // typed text is saved as its bytes
    setArt({});
    fileWatch_->stop();
    notice_->hide();
    modified_ = false;
    updateTitle();
    applyWindowEnabling();
    if (editor_->isEnabled()) {
        editor_->setFocus();
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
    PropertyRows more;
    if (art_.sauce) {
        more = saucePropertyRows(*art_.sauce, [this](int number, const QString& english) {
            return langText(number, english);
        });
    }
    showFileProperties(this, QString::fromStdString(fileName_),
                       editor_->engine().paragraphs().count(), more);
}

void MainWindow::noticeUnreadableEncoding() {
    const EncodingChoice choice = encodingChoiceOf(options_.encoding);
    if (textForm_.encoding != TextEncoding::Bytes ||
        (choice != EncodingChoice::Utf8 && choice != EncodingChoice::Utf16)) {
        return;
    }
    const QString name =
        choice == EncodingChoice::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("UTF-16");
    const QString text = langText(507, QStringLiteral("This file cannot be read as %1 with code "
                                                      "page 437 glyphs; it is shown as its bytes."))
                             .arg(name);
    notice_->showNotice(text);
}

void MainWindow::setTextForm(const UnicodeForm& form) {
    textForm_ = form;
    editor_->setTypingForm(form);
}

void MainWindow::noticeTypingRefused(const QString& characters) {
    const QString name = textForm_.encoding == TextEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                                  : QStringLiteral("UTF-16");
    notice_->showNotice(langText(kTypingRefusedText,
                                 QStringLiteral("Not typed: %1 is not a code page 437 glyph that "
                                                "this %2 file can hold."))
                            .arg(characters, name));
}

void MainWindow::chooseEncoding(EncodingChoice choice) {
    const std::int32_t previous = options_.encoding;
    options_.encoding = static_cast<std::int32_t>(choice);
    // ANSI art is read again when the choice draws it and it is not drawn, or the reverse.
    const bool glyphsOnly =
        textForm_.encoding == TextEncoding::Bytes &&
        (choice == EncodingChoice::Cp437 || choice == EncodingChoice::Windows1252) &&
        (art_.ansiArt && drawsAnsiArt(choice)) == art_.isAnsi();
    if (glyphsOnly || fileName_.empty()) {
        // The bytes stay; only the glyphs they are drawn with change, edits and all.
        editor_->setByteGlyphs(viewerByteGlyphs(options_));
        updateTitle();
        return;
    }
    // Reading the file again replaces the document: edits are offered for saving first, and
    // a cancelled question keeps both the document and the previous choice.
    if (askToSave()) {
        options_.encoding = previous;
        return;
    }
    editor_->setByteGlyphs(viewerByteGlyphs(options_));
    load(fileName_);
}

// --- Saving ---------------------------------------------------------------------------------

bool MainWindow::writeDocument(const std::string& path) {
    // A file without write permission is refused for every user: root could write it, but
    // its owner marked it read-only.
    if (platform::isFile(path) && (!hasWriteBit(path) || !platform::canWrite(path))) {
        showError(2, path, std::strerror(EACCES));
        return false;
    }
    const WriteStatus status = streamDocument(path);
    if (!status.ok()) {
        showError(2, status.error);
        return false;
    }
    if (path == fileWatch_->path()) {
        shownFileWritten();
    }
    return true;
}

WriteStatus MainWindow::streamDocument(const std::string& path) {
    // The paragraphs stream into the writer: a large document is never copied into one
    // string on its way to the disk.
    // A Unicode art file is written back in its own encoding, line ends and mark.
    const TextEngine& engine = editor_->engine();
    // The SAUCE record and what came with it after the text go back after it as they were.
    const UnicodeForm form = textForm_;
    const std::string& trailer = art_.trailer;
    const auto size = static_cast<std::uint64_t>(engine.charCount());
    if (size < setup_.backgroundSaveBytes) {
        return setup_.writer(path, [&engine, &form, &trailer](const ChunkSink& sink) {
            return writeInFileForm(engine, form, sink) && (trailer.empty() || sink(trailer));
        });
    }
    // Seconds of writing: the worker only reads the document, and nothing here changes it
    // meanwhile (the user's input waits; handed names, drops and closing wait for the end).
    // Painting reads it too, and a read may move an edited paragraph's bytes: those are put
    // in place first, so that both threads only look.
    editor_->engine().prepareSharedReads();
    std::atomic<std::uint64_t> taken{0};
    const auto write = [this, &path, &engine, &form, &trailer, &taken] {
        return setup_.writer(path, [&engine, &form, &trailer, &taken](const ChunkSink& sink) {
            return writeInFileForm(engine, form, sink,
                                   [&taken](std::size_t piece) {
                                       taken.fetch_add(piece, std::memory_order_relaxed);
                                   }) &&
                   (trailer.empty() || sink(trailer));
        });
    };
    const auto showProgress = [this, &taken, size] {
        const std::uint64_t done = taken.load(std::memory_order_relaxed);
        progress_->setPercent(static_cast<int>(std::min<std::uint64_t>(99, done * 100 / size)));
    };
    progress_->reset(langText(kSavingText, QStringLiteral("Saving %1 ..."))
                         .arg(QString::fromStdString(fileNamePart(path))),
                     QString());
    progressDelay_.start(setup_.loadProgressDelayMs);
    saving_ = true;
    fileWatch_->hold(true); // our own writing is no change from outside
    const auto ended = [this] {
        progressDelay_.stop();
        progress_->hide();
        saving_ = false;
        fileWatch_->hold(false);
        if (closeAfterSave_) {
            closeAfterSave_ = false;
            QTimer::singleShot(0, this, [this] {
                if (isVisible()) {
                    close();
                }
            });
        }
    };
    try {
        const WriteStatus status = writeWhileWindowAnswers(write, showProgress);
        ended();
        return status;
    } catch (...) {
        ended();
        throw;
    }
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
    applyWindowEnabling();
    return true;
}

// "Save as GIF image..." and "Save as PNG image...": the visible text area as a picture; the
// folder of the last Save as is offered and left as it is.
ImageSaveCommand MainWindow::imageSaveCommand() {
    ImageSaveCommand command;
    command.parent = this;
    command.currentFileName = fileName_;
    command.lastSaveFolder = options_.lastDir;
    command.askFileName = [this](const ImageSaveRequest& request) {
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
    tavrel::saveAsGif(*editor_, imageSaveCommand());
}

void MainWindow::saveAsPng() {
    tavrel::saveAsPng(*editor_, imageSaveCommand());
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
    applyWindowEnabling();
    updateTitle();
    return true;
}

} // namespace tavrel
