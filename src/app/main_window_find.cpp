// Find and replace in the main window: the dialog, its actions, the repeat items F3 and
// Ctrl+F3 with their captions and enabled states, the not-found message, and the five Edit
// shortcuts the open dialog takes away.
#include "app/main_window.h"

#include "app/find_dialog.h"
#include "editor/qt/text_editor.h"

#include <QAction>
#include <QApplication>
#include <QMetaObject>

namespace tavrel {

void MainWindow::createFindDialog() {
    finder_ = std::make_unique<FindReplace>(editor_->engine());
    finder_->onBusy = [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    findDialog_ = new FindDialog(*editor_, this);
}

void MainWindow::connectFind() {
    connect(menus_.action("Find1"), &QAction::triggered, this, [this] { showFindDialog(); });
    // Both repeat items run one handler; the item tells which direction Find mode takes.
    connect(menus_.action("FindNext1"), &QAction::triggered, this,
            [this] { finishFindAction(finder_->repeat(false)); });
    connect(menus_.action("FindPrev1"), &QAction::triggered, this,
            [this] { finishFindAction(finder_->repeat(true)); });

    // The dialog's texts and options become the finder's when the user acts, so that F3 keeps
    // searching for what was last asked even when the fields were edited and cancelled.
    const auto take = [this] {
        finder_->setFindText(findDialog_->findText());
        finder_->setReplaceText(findDialog_->replaceText());
        finder_->options.matchCase = findDialog_->matchCase();
        finder_->options.wholeWord = findDialog_->wholeWord();
    };
    connect(findDialog_, &FindDialog::findNextRequested, this, [this, take] {
        take();
        finishFindAction(finder_->dialogFind());
    });
    connect(findDialog_, &FindDialog::replaceRequested, this, [this, take](bool all) {
        if (isLoading()) {
            noticeStillLoading(); // the document behind the first screen is about to go
            return;
        }
        if (art_.isAnsi()) {
            noticeAnsiReadOnly(); // the drawn screen is not the file's text
            return;
        }
        take();
        finder_->options.replaceAll = all;
        finishFindAction(finder_->replace());
    });
    connect(findDialog_, &FindDialog::opened, this, [this] { takeDialogShortcuts(); });
    connect(findDialog_, &FindDialog::closed, this, [this] {
        giveBackDialogShortcuts();
        // Where the user left the dialog is where it is written at exit.
        keepFindDialogPlace();
    });
}

// The stored place is the dialog's own area without the window manager's frame, as the main
// window's bounds are: storing the frame's corner and showing the inner area there would move
// the dialog by the frame's width and title bar at every start.
void MainWindow::keepFindDialogPlace() {
    const QPoint inner = findDialog_->geometry().topLeft();
    options_.findLeft = inner.x();
    options_.findTop = inner.y();
}

void MainWindow::placeFindDialog() {
    // Giving the area a size marks it as sized: the first one must be the size showing it
    // would give.
    if (!findDialog_->testAttribute(Qt::WA_Resized)) {
        findDialog_->adjustSize();
    }
    findDialog_->setGeometry(
        QRect(QPoint(options_.findLeft, options_.findTop), findDialog_->size()));
}

void MainWindow::showFindDialog() {
    if (findDialog_->isVisible()) {
        findDialog_->raise();
        findDialog_->activateWindow();
        return;
    }
    findDialog_->setFindText(finder_->findText());
    findDialog_->setReplaceText(finder_->replaceText());
    placeFindDialog();
    findDialog_->show();
    findDialog_->activateWindow();
}

void MainWindow::finishFindAction(FindOutcome outcome) {
    updateFindItems();
    if (outcome == FindOutcome::Found) {
        editor_->scrollInView();
    } else if (outcome == FindOutcome::NotFound) {
        dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle),
                            langText(FindReplace::kNotFoundMessage));
    }
    // After every action the dialog goes, once the current event is done.
    QMetaObject::invokeMethod(
        findDialog_, [dialog = findDialog_] { dialog->close(); }, Qt::QueuedConnection);
}

void MainWindow::updateFindItems() {
    applyWindowEnabling();
    if (finder_->nextCaptionText() != 0) {
        // A language file without the line leaves the item without a caption.
        menus_.action("FindNext1")->setText(langText(finder_->nextCaptionText()));
    }
}

// While the dialog is shown, Copy, Cut, Paste, Undo and Select All give up their shortcuts,
// so that those keys edit the dialog's fields and never the document behind it; the items
// keep their translation keys.
void MainWindow::takeDialogShortcuts() {
    if (!dialogShortcuts_.empty()) {
        return;
    }
    for (const char* name : {"Copy1", "Cut1", "Paste1", "Undo1", "SelectAll1"}) {
        QAction* item = menus_.action(name);
        dialogShortcuts_.emplace_back(item, item->shortcut());
        item->setShortcut(QKeySequence());
    }
}

void MainWindow::giveBackDialogShortcuts() {
    for (const auto& [item, keys] : dialogShortcuts_) {
        item->setShortcut(keys);
    }
    dialogShortcuts_.clear();
}

} // namespace tavrel
