// The main window's first screen of a large file: the first paragraphs of a file still loading,
// shown read-only in an editor of their own in place of the old document, which stays whole
// (text, history, view) behind it until the load completes, fails or is cancelled.
#include "app/main_window.h"

#include "app/document_title.h"
#include "app/file_load.h"
#include "app/viewer_setup.h"
#include "editor/qt/line_gutter.h"
#include "editor/qt/text_editor.h"

#include <QHBoxLayout>

#include <new>
#include <utility>

namespace tavrel {

namespace {

// The document position at the start of the view's top line.
[[nodiscard]] Pos topPosition(TextEditor& editor) {
    return editor.layout().knownLineStart(editor.topLine());
}

// The view scrolled so that the display line holding `position` is its top line.
void showFromPosition(TextEditor& editor, Pos position) {
    WrappedLayout& layout = editor.layout();
    // Lines above may still count one per paragraph; this one's own lines must be known.
    layout.ensureFormatted(editor.engine().document().paragraphAt(position));
    editor.setVerticalOffset(layout.knownLineOfPosition(position) * editor.lineHeight());
}

} // namespace

void MainWindow::showFirstPiece(FileLoad& job) {
    if (firstPieceEditor_ != nullptr) {
        return;
    }
    // Looks as the window's editor does; addresses and keywords are marked once the whole
    // document is shown, so the first screen costs no scan of its own.
    auto* shown = new TextEditor(editor_->parentWidget());
    shown->setObjectName(QStringLiteral("FirstPiece"));
    shown->setFrameShape(QFrame::NoFrame);
    shown->setOptions(editor_->options());
    applyViewerSettings(*shown, options_);
    shown->setZoom(options_.zoom);
    shown->setReadOnly(true);
    try {
        shown->engine().adoptDocument(job.firstPiece(), job.firstPieceResult(), false);
    } catch (const std::bad_alloc&) {
        delete shown; // no first screen; the load goes on
        return;
    }
    const bool hadFocus = editor_->hasFocus();
    editorRow_->insertWidget(editorRow_->indexOf(editor_), shown, 1);
    // Its final size at once, not when the layout gets to it: lines wrapped to a smaller
    // width, or a view offset set before a later resize, would move the view meanwhile.
    shown->setGeometry(editor_->geometry());
    shown->show();
    editor_->hide();
    gutter_->setEditor(shown);
    firstPieceEditor_ = shown;
    if (keptOffset_) {
        shown->setVerticalOffset(*keptOffset_); // a reload shows the place it left, if it can
    }
    firstPieceShownTop_ = topPosition(*shown);
    // The title names the file shown; the old one's comes back with it on Esc.
    setWindowTitle(QString::fromStdString(windowCaption(job.path())));
    if (hadFocus) {
        shown->setFocus();
    }
}

void MainWindow::dropFirstPiece() {
    if (firstPieceEditor_ == nullptr) {
        return;
    }
    TextEditor* shown = std::exchange(firstPieceEditor_, nullptr);
    const Selection& selection = shown->engine().selection();
    const Pos top = topPosition(*shown);
    firstPieceView_ =
        LoadView{selection.anchor(), selection.caret(), top, top != firstPieceShownTop_};
    const bool hadFocus = shown->hasFocus();
    gutter_->setEditor(editor_);
    editor_->show();
    shown->hide();
    // It may be the widget whose key (Esc) is being handled right now.
    shown->deleteLater();
    if (hadFocus) {
        editor_->setFocus();
    }
    updateTitle();
}

void MainWindow::forgetLoadView() noexcept {
    firstPieceView_.reset();
    keptOffset_.reset();
}

void MainWindow::applyLoadView() {
    const std::optional<LoadView> view = std::exchange(firstPieceView_, std::nullopt);
    const std::optional<std::int64_t> kept = std::exchange(keptOffset_, std::nullopt);
    // The first piece holds exactly the document's first paragraphs, so its positions are the
    // document's: the caret and selection stay where the user put them.
    if (view) {
        editor_->engine().select(view->anchor, view->caret);
    }
    if (view && (view->scrolled || !kept)) {
        showFromPosition(*editor_, view->top);
    } else if (kept) {
        editor_->setVerticalOffset(*kept);
    }
}

} // namespace tavrel
