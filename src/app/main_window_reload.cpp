// The main window and the shown file's changes on disk: an unchanged document is loaded again
// at once, an edited one asks once whether the file's new text replaces it, and a file that
// vanished leaves the document standing, marked modified, so that Save brings it back.
#include "app/main_window.h"

#include "app/button_bar.h"
#include "app/message_box.h"
#include "app/notice_bar.h"
#include "editor/qt/text_editor.h"
#include "platform/file_watch.h"

#include <QPushButton>

namespace tavrel {

namespace {

constexpr int kChangedOnDiskText = 525;
constexpr int kVanishedText = 526;

} // namespace

void MainWindow::connectFileWatch() {
    fileWatch_ = std::make_unique<platform::FileWatch>();
    fileWatch_->onChanged = [this] { shownFileChanged(); };
    fileWatch_->onVanished = [this] { shownFileVanished(); };
}

void MainWindow::shownFileChanged() {
    if (askingReload_ || fileName_.empty()) {
        return; // the open question stands for this change too
    }
    if (modified_ && !goneUnedited_) {
        askingReload_ = true;
        const bool theirs = dialogs().confirm(
            this, QString::fromLatin1(kApplicationTitle),
            langText(kChangedOnDiskText,
                     QStringLiteral("This file was changed on disk by another program. Load the "
                                    "changed file? Your changes to it will be lost.")),
            fileReasonText(fileName_, {}));
        askingReload_ = false;
        if (!theirs) {
            return; // the watch remembers this change: the question is not asked again
        }
    }
    // The window's one load path; the view stays where it was when the text still reaches.
    const std::int64_t top = editor_->verticalOffset();
    const std::string name = fileName_;
    if (load(name)) {
        if (isLoading()) {
            keptOffset_ = top; // the text is not there yet: applied when it is shown
        } else {
            editor_->setVerticalOffset(top);
        }
    }
}

void MainWindow::shownFileWritten() {
    fileWatch_->rememberCurrent(); // our own save is no change from outside
    if (fileGone_) {
        notice_->hide();
    }
    fileGone_ = false;
    goneUnedited_ = false;
}

void MainWindow::shownFileVanished() {
    if (fileName_.empty()) {
        return;
    }
    // The text now exists only here: marked modified, Save and the question at exit keep it.
    goneUnedited_ = !modified_;
    fileGone_ = true;
    modified_ = true;
    applyWindowEnabling();
    notice_->showNotice(
        langText(kVanishedText, QStringLiteral("The file was removed or renamed by another "
                                               "program. Your text is kept here; save it to "
                                               "keep it on disk.")));
}

} // namespace tavrel
