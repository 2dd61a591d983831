// The editor's clipboard habits in the main window: the copy routine with its trim option,
// copying every selection when a mouse button or key is released, Ctrl+Y, and the X11 habit
// of offering the selection as the primary selection and pasting it with a middle click.
#include "app/main_window.h"

#include "app/notice_bar.h"
#include "app/primary_selection.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"
#include "textcmd/edit_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace tavrel {

namespace {

constexpr int kCopyEndedAtNulText = 550;

} // namespace

// On this platform the clipboard is Qt's, which owns the system clipboard for us: there is no
// opening that can fail while another program holds it, so no retry loop is needed.
void MainWindow::copySelection() {
    // While a large file loads, its first screen is what the user sees and selects in.
    TextEditor& shown = firstPieceEditor_ != nullptr ? *firstPieceEditor_ : *editor_;
    const CopyPlan plan = planCopy(shown.engine(), options_.trim);
    switch (plan.kind) {
    case CopyPlan::Kind::Nothing:
        break;
    case CopyPlan::Kind::EditorCopy:
        shown.copyToClipboard();
        break;
    case CopyPlan::Kind::PlainText:
        QApplication::clipboard()->setText(shown.clipboardText(plan.text));
        if (plan.endedAtNul) {
            notice_->showNotice(langText(
                kCopyEndedAtNulText,
                QStringLiteral("Copied up to the first NUL byte of the selection: with \"Trim "
                               "Selection before Copy\" on, a copy ends there.")));
        }
        break;
    }
}

void MainWindow::connectEditorHabits() {
    editor_->installEventFilter(this);
    editor_->viewport()->installEventFilter(this);
    primaryTimer_.setSingleShot(true);
    primaryTimer_.setInterval(0);
    connect(&primaryTimer_, &QTimer::timeout, this, [this] { offerPrimarySelection(); });
    connect(editor_, &TextEditor::caretMoved, this, [this] { primaryTimer_.start(); });
}

void MainWindow::offerPrimarySelection() {
    QClipboard* clipboard = QApplication::clipboard();
    if (clipboard == nullptr || !clipboard->supportsSelection() ||
        editor_->engine().selection().length() == 0) {
        return;
    }
    // While the selection we offered is still ours and follows the editor, it already gives
    // the current text.
    const auto* offered =
        dynamic_cast<const PrimarySelectionData*>(clipboard->mimeData(QClipboard::Selection));
    if (clipboard->ownsSelection() && offered != nullptr && offered->follows(editor_)) {
        return;
    }
    clipboard->setMimeData(new PrimarySelectionData(editor_), QClipboard::Selection);
}

void MainWindow::pastePrimarySelection(const QPoint& viewportPoint) {
    QClipboard* clipboard = QApplication::clipboard();
    // Read first: when the selection is this editor's own, placing the caret would empty it.
    const std::string bytes = editor_->clipboardBytes(clipboard->text(QClipboard::Selection));
    TextEngine& engine = editor_->engine();
    engine.setSelStart(editor_->positionAt(viewportPoint));
    if (bytes.empty()) {
        return;
    }
    engine.breakUndoGroup();
    engine.setSelText(bytes);
    engine.breakUndoGroup();
    editor_->scrollInView();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    bool handled = false;
    platform::runGuarded([&] { handled = filterEditorEvent(watched, event); });
    return handled || QMainWindow::eventFilter(watched, event);
}

bool MainWindow::filterEditorEvent(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+Y with any other modifiers empties the caret's line; the editor still gets
        // the key, and has no use for it.
        if (key->key() == Qt::Key_Y && (key->modifiers() & Qt::ControlModifier) != 0 &&
            !editor_->isReadOnly()) {
            clearCaretLine(editor_->engine());
        }
    }
    const bool release =
        (watched == editor_ && event->type() == QEvent::KeyRelease) ||
        (watched == editor_->viewport() && event->type() == QEvent::MouseButtonRelease);
    if (release && options_.selectCopy) {
        // The editor finishes its own handling of the release first (a click inside the
        // selection places the caret only then).
        QMetaObject::invokeMethod(this, platform::guardedSlot([this] { copySelection(); }),
                                  Qt::QueuedConnection);
    }
    if (watched == editor_->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        QClipboard* clipboard = QApplication::clipboard();
        if (mouse->button() == Qt::MiddleButton && clipboard != nullptr &&
            clipboard->supportsSelection() && !editor_->isReadOnly()) {
            pastePrimarySelection(mouse->position().toPoint());
            return true;
        }
    }
    return false;
}

} // namespace tavrel
