// The main window's wiring of find and replace: the Edit items that open the dialog and
// repeat the search, the not-found message, and F3's caption and enabled states.
#include "app/main_window.h"

#include "app/find_dialog.h"
#include "app/find_session.h"
#include "platform/command_guard.h"

#include <QAction>

namespace tavrel {

void MainWindow::createFindSession() {
    std::vector<QAction*> shortcutItems;
    for (const char* name : {"Copy1", "Cut1", "Paste1", "Undo1", "SelectAll1"}) {
        shortcutItems.push_back(menus_.action(name));
    }
    FindSession::Hooks hooks;
    hooks.refuseChange = [this] {
        if (isLoading()) {
            noticeStillLoading(); // the document behind the first screen is about to go
            return true;
        }
        if (art_.isAnsi()) {
            noticeAnsiReadOnly(); // the drawn screen is not the file's text
            return true;
        }
        return false;
    };
    hooks.notFound = [this] {
        dialogs().showPlain(this, QString::fromLatin1(kApplicationTitle),
                            langText(FindReplace::kNotFoundMessage));
    };
    hooks.itemsChanged = [this] { updateFindItems(); };
    hooks.storedPlace = [this] { return QPoint(options_.findLeft, options_.findTop); };
    hooks.keepPlace = [this](QPoint place) {
        options_.findLeft = place.x();
        options_.findTop = place.y();
    };
    find_ =
        std::make_unique<FindSession>(*editor_, this, std::move(shortcutItems), std::move(hooks));
}

void MainWindow::connectFind() {
    connect(menus_.action("Find1"), &QAction::triggered, this,
            platform::guardedSlot([this] { find_->show(); }));
    // Both repeat items run one handler; the item tells which direction Find mode takes.
    connect(menus_.action("FindNext1"), &QAction::triggered, this,
            platform::guardedSlot([this] { find_->repeat(false); }));
    connect(menus_.action("FindPrev1"), &QAction::triggered, this,
            platform::guardedSlot([this] { find_->repeat(true); }));
}

FindDialog& MainWindow::findDialog() const noexcept {
    return find_->dialog();
}

FindReplace& MainWindow::finder() const noexcept {
    return find_->finder();
}

void MainWindow::updateFindItems() {
    applyWindowEnabling();
    if (finder().nextCaptionText() != 0) {
        // A language file without the line leaves the item without a caption.
        menus_.action("FindNext1")->setText(langText(finder().nextCaptionText()));
    }
}

} // namespace tavrel
