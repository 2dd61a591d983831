// The editor control's mouse: clicks, selecting by dragging (a column block with Alt),
// whole lines from the left margin, words by double click, dragging selected text inside
// the editor, and clicks on highlighted runs.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>

#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"

namespace tavrel {

std::optional<WrappedLayout::LineSpan> TextEditor::lineAt(const QPoint& point) {
    normaliseTop();
    const std::int64_t lh = lineHeight();
    const std::int64_t y = static_cast<std::int64_t>(point.y()) + topPixel_;
    const std::int64_t rows = y >= 0 ? y / lh : (y - lh + 1) / lh;
    const Pos line = std::max<Pos>(0, topLine() + rows);
    if (line >= layout_->knownLineCount()) {
        return std::nullopt;
    }
    layout_->ensureFormatted(layout_->knownParagraphOfLine(line));
    return layout_->knownLine(line);
}

TextEditor::Hit TextEditor::hitTest(const QPoint& point) {
    const std::optional<WrappedLayout::LineSpan> line = lineAt(point);
    if (!line) {
        return {engine_.charCount(), false}; // below the last line: the end of the text
    }
    const WrappedLayout::LineSpan& span = *line;
    Document& doc = engine_.document();
    const std::int64_t x = static_cast<std::int64_t>(point.x()) - look_.leftMargin + scrollX_;
    // The line's bytes only: the mouse must not make a long paragraph contiguous.
    const Pos offset =
        span.start + offsetAtX(doc.paragraphPart(span.paragraph, span.start, span.stop), 0,
                               span.stop - span.start, x, layout_->widths());
    return {doc.paragraphStart(span.paragraph) + offset,
            !span.lastOfParagraph && offset == span.stop};
}

Pos TextEditor::cellAt(const QPoint& point) {
    const std::optional<WrappedLayout::LineSpan> line = lineAt(point);
    if (!line) {
        return -1;
    }
    Document& doc = engine_.document();
    const std::int64_t x = static_cast<std::int64_t>(point.x()) - look_.leftMargin + scrollX_;
    const Pos cell = cellAtX(doc.paragraphPart(line->paragraph, line->start, line->stop), 0,
                             line->stop - line->start, x, layout_->widths());
    return cell < 0 ? -1 : doc.paragraphStart(line->paragraph) + line->start + cell;
}

Pos TextEditor::positionAt(const QPoint& viewportPoint) {
    return hitTest(viewportPoint).position;
}

Pos TextEditor::columnAt(const QPoint& point) const {
    const std::int64_t space = std::max(1, layout_->metrics().spaceWidth());
    const std::int64_t x = static_cast<std::int64_t>(point.x()) - look_.leftMargin + scrollX_;
    return std::max<std::int64_t>(0, (x + space / 2) / space);
}

bool TextEditor::insideSelection(Pos position) const {
    return !engine_.selection().isBlock() && engine_.selection().length() != 0 &&
           position >= engine_.selection().low() && position < engine_.selection().high();
}

HighlightRun TextEditor::highlightAt(Pos position) {
    if (highlights_ == nullptr || position < 0) {
        return {};
    }
    Document& doc = engine_.document();
    const Pos p = doc.paragraphAt(position);
    return highlights_->runAt(p, highlights_->readsText() ? doc.paragraph(p) : std::string_view(),
                              position - doc.paragraphStart(p));
}

bool TextEditor::hasAddressAt(const QPoint& viewportPoint) {
    return isAddressAt(cellAt(viewportPoint));
}

bool TextEditor::isAddressAt(Pos cell) {
    return highlights_ != nullptr && highlights_->isAddress(highlightAt(cell));
}

void TextEditor::noteHighlightClick(Pos position) {
    const HighlightRun run = highlightAt(position);
    if (run.length == 0) {
        return;
    }
    Q_EMIT highlightClicked(position);
    if (run.context != 0) {
        highlights_->mouseNote(MouseNote::Click, position);
    }
}

void TextEditor::updateHoverCursor(const QPoint& point) {
    const bool hand = highlightAt(cellAt(point)).cursor == kHandCursor;
    const Qt::CursorShape shape = hand ? Qt::PointingHandCursor : Qt::IBeamCursor;
    if (viewport()->cursor().shape() != shape) {
        viewport()->setCursor(shape);
    }
}

void TextEditor::mousePressEvent(QMouseEvent* event) {
    platform::runGuarded([&] { handleMousePress(event); });
}

void TextEditor::handleMousePress(QMouseEvent* event) {
    if (highlights_ != nullptr) {
        highlights_->mouseNote(MouseNote::OtherInput, 0);
    }
    setFocus(Qt::MouseFocusReason);
    engine_.breakUndoGroup();
    desiredX_ = -1;
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const Hit hit = hitTest(point);
    pressPoint_ = point;
    lastMouse_ = point;
    moved_ = false;
    // Before the drag test: the second click selected a word under this very point.
    if (isTripleClick(point)) {
        sinceDoubleClick_.invalidate();
        selectParagraphAt(point);
        drag_ = Drag::None;
        return;
    }
    if (insideSelection(hit.position) && !readOnly_ && !engine_.hasOption(eoNoDragnDrop)) {
        drag_ = Drag::MaybeText;
        return;
    }
    // Alt+drag, Alt+Shift+drag (for window managers that move windows with Alt+drag) or
    // any drag in block-selection mode.
    if (blockGesture(mods)) {
        drag_ = Drag::Block;
        blockAnchorColumn_ = columnAt(point);
        engine_.setBlockSelection(hit.position, hit.position, blockAnchorColumn_,
                                  blockAnchorColumn_);
        viewport()->update();
        return;
    }
    drag_ = Drag::Select;
    if (point.x() < look_.leftMargin && (mods & Qt::ShiftModifier) == 0) {
        // The left margin selects the whole display line with its break.
        const Pos line = layout_->knownLineOfPosition(hit.position, hit.atLineEnd);
        const Pos end = line + 1 < layout_->knownLineCount() ? layout_->knownLineStart(line + 1)
                                                             : engine_.charCount();
        engine_.select(layout_->knownLineStart(line), end);
        caretAtLineEnd_ = false;
        viewport()->update();
        return;
    }
    moveCaret(hit.position, (mods & Qt::ShiftModifier) != 0, hit.atLineEnd);
    scrollInView();
}

bool TextEditor::isTripleClick(const QPoint& point) const {
    return sinceDoubleClick_.isValid() &&
           sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
           (point - doubleClickPoint_).manhattanLength() <= QApplication::startDragDistance();
}

void TextEditor::selectParagraphAt(const QPoint& point) {
    // The paragraph with its break, as a click in the left margin takes a line with its.
    const Document& doc = engine_.document();
    const Pos p = doc.paragraphAt(hitTest(point).position);
    const Pos start = doc.paragraphStart(p);
    const Pos end = p + 1 < doc.paragraphCount() ? doc.paragraphStart(p + 1) : engine_.charCount();
    engine_.select(start, end);
    caretAtLineEnd_ = false;
    viewport()->update();
}

void TextEditor::selectTo(const QPoint& point) {
    const Hit hit = hitTest(point);
    if (drag_ == Drag::Block) {
        engine_.setBlockSelection(engine_.selection().anchor(), hit.position, blockAnchorColumn_,
                                  columnAt(point));
        viewport()->update();
    } else {
        moveCaret(hit.position, true, hit.atLineEnd);
    }
}

void TextEditor::mouseMoveEvent(QMouseEvent* event) {
    platform::runGuarded([&] { handleMouseMove(event); });
}

void TextEditor::handleMouseMove(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    lastMouse_ = point;
    if ((point - pressPoint_).manhattanLength() > 0) {
        moved_ = true;
    }
    switch (drag_) {
    case Drag::MaybeText:
        if ((point - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
            drag_ = Drag::None;
            startTextDrag();
        }
        break;
    case Drag::Select:
    case Drag::Block:
        selectTo(point);
        if (viewport()->rect().contains(point)) {
            autoScrollTimer_.stop();
        } else if (!autoScrollTimer_.isActive()) {
            autoScrollTimer_.start();
        }
        break;
    case Drag::None:
        if (event->buttons() == Qt::NoButton) {
            updateHoverCursor(point);
        }
        break;
    }
}

void TextEditor::autoScroll() {
    if (drag_ != Drag::Select && drag_ != Drag::Block) {
        autoScrollTimer_.stop();
        return;
    }
    const QRect area = viewport()->rect();
    if (lastMouse_.y() < area.top()) {
        setVerticalOffset(verticalOffset() - lineHeight());
    } else if (lastMouse_.y() > area.bottom()) {
        setVerticalOffset(verticalOffset() + lineHeight());
    }
    if (lastMouse_.x() < area.left()) {
        setHorizontalOffset(scrollX_ - layout_->metrics().spaceWidth());
    } else if (lastMouse_.x() > area.right()) {
        setHorizontalOffset(scrollX_ + layout_->metrics().spaceWidth());
    }
    selectTo(lastMouse_);
}

void TextEditor::mouseReleaseEvent(QMouseEvent* event) {
    platform::runGuarded([&] { handleMouseRelease(event); });
}

void TextEditor::handleMouseRelease(QMouseEvent* event) {
    autoScrollTimer_.stop();
    const Drag was = drag_;
    drag_ = Drag::None;
    const bool right = event->button() == Qt::RightButton;
    if (event->button() != Qt::LeftButton && !right) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const Hit hit = hitTest(event->position().toPoint());
    if (right) {
        // A right click on an address opens it as a left click does; anywhere else, a
        // keyword included, the button is the popup menu's.
        if (const Pos cell = cellAt(event->position().toPoint()); isAddressAt(cell)) {
            noteHighlightClick(cell);
        }
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    if (was == Drag::MaybeText) {
        moveCaret(hit.position, false, hit.atLineEnd); // a click into the selection
    }
    if (highlights_ != nullptr) {
        highlights_->mouseNote(MouseNote::LeftButtonUp, hit.position);
    }
    if (!moved_) {
        // A click that did not move on a highlighted run: the highlighter's business.
        noteHighlightClick(cellAt(event->position().toPoint()));
    }
}

void TextEditor::mouseDoubleClickEvent(QMouseEvent* event) {
    platform::runGuarded([&] { handleMouseDoubleClick(event); });
}

void TextEditor::handleMouseDoubleClick(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    if (highlights_ != nullptr) {
        highlights_->mouseNote(MouseNote::DoubleClick, 0);
    }
    const auto [start, end] = engine_.wordAt(hitTest(event->position().toPoint()).position);
    engine_.select(start, end);
    caretAtLineEnd_ = false;
    drag_ = Drag::None;
    sinceDoubleClick_.start();
    doubleClickPoint_ = event->position().toPoint();
    viewport()->update();
}

void TextEditor::contextMenuEvent(QContextMenuEvent* event) {
    platform::runGuarded([&] { handleContextMenu(event); });
}

void TextEditor::handleContextMenu(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && hasAddressAt(event->pos())) {
        event->accept(); // the right button's release opens the address instead
        return;
    }
    QMenu* menu = builtInPopupMenu();
    if (menu == nullptr) {
        event->ignore();
        return;
    }
    Q_EMIT internalPopup(menu);
    menu->popup(event->globalPos());
    event->accept();
}

// --- Dragging text inside the editor ---------------------------------------------------------

void TextEditor::startTextDrag() {
    auto* mime = new QMimeData;
    mime->setText(clipboardText(engine_.selText()));
    auto* drag = new QDrag(this); // Qt wants it on the heap; it goes with the drag
    drag->setMimeData(mime);
    // Moving is the default, Ctrl copies; Escape cancels (QDrag's own handling). The drop
    // handler does the editing, so the result needs no action here.
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    drag->deleteLater();
}

void TextEditor::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void TextEditor::dragMoveEvent(QDragMoveEvent* event) {
    platform::runGuarded([&] { handleDragMove(event); });
}

void TextEditor::handleDragMove(QDragMoveEvent* event) {
    if (event->source() == this && !readOnly_) {
        event->setDropAction((event->modifiers() & Qt::ControlModifier) != 0 ? Qt::CopyAction
                                                                             : Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TextEditor::dropEvent(QDropEvent* event) {
    platform::runGuarded([&] { handleDrop(event); });
}

void TextEditor::handleDrop(QDropEvent* event) {
    if (event->source() != this || readOnly_) {
        event->ignore();
        return;
    }
    const bool copy =
        (event->modifiers() & Qt::ControlModifier) != 0 || event->dropAction() == Qt::CopyAction;
    dropSelectionAt(positionAt(event->position().toPoint()), copy);
    // The editing is done; telling the source "copied" keeps it from deleting anything.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    scrollInView();
}

void TextEditor::dropSelectionAt(Pos position, bool copy) {
    position = engine_.document().normalise(position);
    const Pos low = engine_.selection().low();
    const Pos high = engine_.selection().high();
    if (position >= low && position <= high) {
        moveCaret(position, false);
        Q_EMIT selectionMoved();
        return;
    }
    const std::string text = engine_.selText();
    engine_.beginUpdate();
    if (!copy) {
        engine_.setSelText(std::string_view());
        if (position > high) {
            position -= high - low;
        }
    }
    engine_.setSelStart(position);
    engine_.setSelText(std::string_view(text));
    engine_.select(position, position + static_cast<Pos>(text.size()));
    engine_.endUpdate();
}

} // namespace tavrel
