// Find and replace as a part of the main window: the dialog's requests become the finder's
// actions, and after every action the dialog closes.
#include "app/find_session.h"

#include "app/find_dialog.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"

#include <QAction>
#include <QApplication>
#include <QMetaObject>

namespace tavrel {

FindSession::FindSession(TextEditor& editor, QWidget* dialogParent,
                         std::vector<QAction*> shortcutItems, Hooks hooks)
    : QObject(dialogParent), editor_(editor), hooks_(std::move(hooks)),
      finder_(std::make_unique<FindReplace>(editor.engine())),
      dialog_(new FindDialog(editor, dialogParent)), shortcutItems_(std::move(shortcutItems)) {
    finder_->onBusy = [](bool busy) {
        if (busy) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        } else {
            QApplication::restoreOverrideCursor();
        }
    };
    connectDialog();
}

FindSession::~FindSession() = default;

void FindSession::connectDialog() {
    // The dialog's texts and options become the finder's when the user acts, so that F3 keeps
    // searching for what was last asked even when the fields were edited and cancelled.
    const auto take = [this] {
        finder_->setFindText(dialog_->findText());
        finder_->setReplaceText(dialog_->replaceText());
        finder_->options.matchCase = dialog_->matchCase();
        finder_->options.wholeWord = dialog_->wholeWord();
    };
    connect(dialog_, &FindDialog::findNextRequested, this, platform::guardedSlot([this, take] {
                take();
                finish(finder_->dialogFind());
            }));
    connect(dialog_, &FindDialog::replaceRequested, this,
            platform::guardedSlot([this, take](bool all) {
                if (hooks_.refuseChange && hooks_.refuseChange()) {
                    return;
                }
                take();
                finder_->options.replaceAll = all;
                finish(finder_->replace());
            }));
    connect(dialog_, &FindDialog::opened, this, platform::guardedSlot([this] { takeShortcuts(); }));
    connect(dialog_, &FindDialog::closed, this, platform::guardedSlot([this] {
                giveBackShortcuts();
                // Where the user left the dialog is where it is written at exit.
                keepPlace();
            }));
}

void FindSession::show() {
    if (dialog_->isVisible()) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    dialog_->setFindText(finder_->findText());
    dialog_->setReplaceText(finder_->replaceText());
    placeDialog();
    dialog_->show();
    dialog_->activateWindow();
}

void FindSession::placeDialog() {
    // Giving the area a size marks it as sized: the first one must be the size showing it
    // would give.
    if (!dialog_->testAttribute(Qt::WA_Resized)) {
        dialog_->adjustSize();
    }
    const QPoint place = hooks_.storedPlace ? hooks_.storedPlace() : dialog_->pos();
    dialog_->setGeometry(QRect(place, dialog_->size()));
}

void FindSession::repeat(bool backwards) {
    finish(finder_->repeat(backwards));
}

void FindSession::keepOpenDialogPlace() {
    if (dialog_->isVisible()) {
        keepPlace();
    }
}

void FindSession::finish(FindOutcome outcome) {
    if (hooks_.itemsChanged) {
        hooks_.itemsChanged();
    }
    if (outcome == FindOutcome::Found) {
        editor_.scrollInView();
    } else if (outcome == FindOutcome::NotFound && hooks_.notFound) {
        hooks_.notFound();
    }
    // After every action the dialog goes, once the current event is done.
    QMetaObject::invokeMethod(
        dialog_, [dialog = dialog_] { dialog->close(); }, Qt::QueuedConnection);
}

// The stored place is the dialog's own area without the window manager's frame, as the main
// window's bounds are: storing the frame's corner and showing the inner area there would move
// the dialog by the frame's width and title bar at every start.
void FindSession::keepPlace() {
    if (hooks_.keepPlace) {
        hooks_.keepPlace(dialog_->geometry().topLeft());
    }
}

// While the dialog is shown, the Edit items give up their shortcuts, so that those keys edit
// the dialog's fields and never the document behind it; the items keep their translation keys.
void FindSession::takeShortcuts() {
    if (!takenShortcuts_.empty()) {
        return;
    }
    for (QAction* item : shortcutItems_) {
        takenShortcuts_.emplace_back(item, item->shortcut());
        item->setShortcut(QKeySequence());
    }
}

void FindSession::giveBackShortcuts() {
    for (const auto& [item, keys] : takenShortcuts_) {
        item->setShortcut(keys);
    }
    takenShortcuts_.clear();
}

} // namespace tavrel
