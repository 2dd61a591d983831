// The editor control's keyboard: caret movement with and without selecting, column blocks
// from the keyboard, typing, Enter with auto-indent, smart tab, deleting and the command
// keys (clipboard, undo, the consistency check).
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMetaMethod>

#include <algorithm>
#include <optional>

#include "editor/column_edit.h"
#include "editor/qt/ansi_text.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"

namespace tavrel {
namespace {

// The bytes a typed text inserts into a file of bytes: printable characters only (codes 31
// to 126 and 128 to 255 of the code page); control characters typed by accident are dropped.
std::string printableBytes(const QString& text) {
    std::string bytes = qStringToAnsi(text);
    std::erase_if(bytes, [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 31 || u == 127;
    });
    return bytes;
}

struct TypedText {
    std::string bytes;
    QString refused; // characters the document's file could not hold
};

// A typed text in a document of `form`. Unicode art holds code page 437 bytes that are saved
// as their glyphs, so a character becomes the byte saved as that same character; one that
// has none is refused, never replaced by a look-alike or '?' the user did not type.
TypedText typedText(const QString& text, const UnicodeForm& form) {
    TypedText typed;
    if (form.encoding == TextEncoding::Bytes) {
        typed.bytes = printableBytes(text);
        return typed;
    }
    for (const char32_t ch : text.toUcs4()) {
        if (ch < 32 || ch == 127) {
            continue; // a control typed by accident, as in a file of bytes
        }
        if (const std::optional<std::uint8_t> byte = byteForUnicode(ch, form)) {
            typed.bytes.push_back(static_cast<char>(*byte));
        } else {
            typed.refused.append(QString::fromUcs4(&ch, 1));
        }
    }
    return typed;
}

} // namespace

void TextEditor::keyPressEvent(QKeyEvent* event) {
    platform::runGuarded([&] { handleKeyPress(event); });
}

void TextEditor::handleKeyPress(QKeyEvent* event) {
    if (highlights_ != nullptr) {
        highlights_->mouseNote(MouseNote::OtherInput, 0);
    }
    if (engine_.updateDepth() > 0) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
        // A modifier pressed on its own is the start of a chord (Shift+Down), not a move:
        // the column kept through Up and Down stays.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (handleMovementKey(event)) {
        event->accept();
        scrollInView();
        return;
    }
    // A command keeps the column of Up and Down unless it edits (every change of the text
    // forgets it) or moves the caret itself.
    if (handleCommandKey(event)) {
        event->accept();
        scrollInView();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool control = (mods & Qt::ControlModifier) != 0;
    const bool alt = (mods & Qt::AltModifier) != 0;
    // Ctrl+Alt is AltGr on some keyboards and types; Alt alone is for menus, never text.
    if ((control ? alt : !alt) && !event->text().isEmpty() && typeText(event->text())) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TextEditor::inputMethodEvent(QInputMethodEvent* event) {
    platform::runGuarded([&] { handleInputMethod(event); });
}

void TextEditor::handleInputMethod(QInputMethodEvent* event) {
    if (engine_.updateDepth() == 0) {
        typeText(event->commitString());
    }
    event->accept();
}

bool TextEditor::typeText(const QString& text) {
    const TypedText typed = typedText(text, typingForm_);
    if (typed.bytes.empty() && typed.refused.isEmpty()) {
        return false;
    }
    if (readOnly_) {
        Q_EMIT typedWhileReadOnly();
        return true;
    }
    if (!typed.bytes.empty()) {
        insertTyped(typed.bytes);
        scrollInView();
    }
    if (!typed.refused.isEmpty()) {
        Q_EMIT typingRefused(typed.refused);
    }
    return true;
}

void TextEditor::insertTyped(const std::string& bytes) {
    const Document& doc = engine_.document();
    const Pos caret = engine_.selection().caret();
    if (overwrite_ && engine_.selection().length() == 0 && !engine_.selection().isBlock()) {
        const Pos p = doc.paragraphAt(caret);
        if (caret < doc.paragraphStart(p) + doc.paragraphLength(p)) {
            engine_.select(caret + 1, caret); // the typed character replaces the next one
        }
    }
    engine_.setSelText(std::string_view(bytes));
}

// --- Movement ------------------------------------------------------------------------------------

void TextEditor::moveCaret(Pos position, bool extend, bool atLineEnd) {
    if (extend) {
        engine_.select(engine_.selection().anchor(), position);
    } else {
        engine_.setSelStart(position);
    }
    caretAtLineEnd_ = atLineEnd;
    viewport()->update();
}

Pos TextEditor::stepLines(Pos line, Pos delta) {
    while (delta < 0) {
        const WrappedLayout::LineSpan span = layout_->knownLine(line);
        if (span.subLine > 0) {
            --line;
        } else if (span.paragraph > 0) {
            // Formatting the paragraph above moves this line's index; find it again.
            layout_->ensureFormatted(span.paragraph - 1);
            line = layout_->knownFirstLineOf(span.paragraph) - 1;
        } else {
            break;
        }
        ++delta;
    }
    while (delta > 0 && line + 1 < layout_->knownLineCount()) {
        ++line;
        layout_->ensureFormatted(layout_->knownParagraphOfLine(line));
        --delta;
    }
    return line;
}

void TextEditor::moveCaretToLine(Pos line, bool extend, bool block) {
    line = std::clamp<Pos>(line, 0, layout_->knownLineCount() - 1);
    layout_->ensureFormatted(layout_->knownParagraphOfLine(line));
    const WrappedLayout::LineSpan span = layout_->knownLine(line);
    Document& doc = engine_.document();
    const std::string_view text = doc.paragraphPart(span.paragraph, span.start, span.stop);
    const Pos offset =
        span.start + offsetAtX(text, 0, span.stop - span.start, desiredX_, layout_->widths());
    const Pos position = doc.paragraphStart(span.paragraph) + offset;
    if (block) {
        extendBlock(position, desiredX_ / std::max(1, layout_->metrics().spaceWidth()));
        return;
    }
    const std::int64_t keep = desiredX_;
    moveCaret(position, extend, !span.lastOfParagraph && offset == span.stop);
    desiredX_ = keep;
}

bool TextEditor::blockGesture(Qt::KeyboardModifiers mods) const {
    return ((mods & Qt::AltModifier) != 0 || blockSelectionMode_) &&
           engine_.hasOption(eoBlockSelection) && !wordWrap_;
}

void TextEditor::setBlockSelectionMode(bool on) {
    if (on == blockSelectionMode_) {
        return;
    }
    blockSelectionMode_ = on;
    Q_EMIT blockSelectionModeChanged(on);
}

void TextEditor::undo() {
    engine_.undo();
    scrollInView();
}

void TextEditor::redo() {
    engine_.redo();
    scrollInView();
}

void TextEditor::extendBlock(Pos caret, Pos caretColumn) {
    Pos anchor = engine_.selection().caret();
    Pos anchorColumn = 0;
    if (engine_.selection().isBlock()) {
        anchor = engine_.selection().anchor();
        anchorColumn = engine_.selection().blockLowColumn() +
                       engine_.selection().blockHighColumn() -
                       engine_.selection().blockCaretColumn();
    } else {
        const Document& doc = engine_.document();
        const Pos p = doc.paragraphAt(anchor);
        anchorColumn = engine_.columnOf(p, anchor - doc.paragraphStart(p));
    }
    engine_.setBlockSelection(anchor, caret, anchorColumn, caretColumn);
    viewport()->update();
}

bool TextEditor::handleMovementKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool control = (mods & Qt::ControlModifier) != 0;
    const bool shift = (mods & Qt::ShiftModifier) != 0;
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    const bool block = arrow && shift && blockGesture(mods);
    const Document& doc = engine_.document();
    const Pos caret = engine_.selection().caret();
    const Pos p = doc.paragraphAt(caret);
    const Pos paraStart = doc.paragraphStart(p);
    const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                          key == Qt::Key_PageDown;
    if (vertical) {
        if (desiredX_ < 0) {
            desiredX_ = caretX();
        }
        const Pos line = caretLine();
        Pos target = line;
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            target = stepLines(line, key == Qt::Key_Up ? -1 : 1);
        } else {
            const Pos page = std::max<Pos>(1, viewport()->height() / lineHeight());
            const Pos delta = key == Qt::Key_PageUp ? -page : page;
            setVerticalOffset(verticalOffset() + delta * lineHeight());
            target = stepLines(line, delta);
        }
        moveCaretToLine(target, shift && !block, block);
        return true;
    }

    Pos target = caret;
    bool atLineEnd = false;
    switch (key) {
    case Qt::Key_Left:
        if (control) {
            target = engine_.previousWordStart(caret);
        } else if (caret == paraStart) {
            target = p > 0 ? caret - 2 : caret; // onto the end of the paragraph before
        } else {
            target = caret - 1;
        }
        break;
    case Qt::Key_Right:
        if (control) {
            target = engine_.nextWordStart(caret);
        } else if (caret == paraStart + doc.paragraphLength(p)) {
            target = p + 1 < doc.paragraphCount() ? caret + 2 : caret;
        } else {
            target = caret + 1;
        }
        break;
    case Qt::Key_Home:
    case Qt::Key_End: {
        if (control) {
            target = key == Qt::Key_Home ? 0 : doc.charCount();
            break;
        }
        const WrappedLayout::LineSpan span = layout_->knownLine(caretLine());
        if (key == Qt::Key_Home) {
            target = paraStart + span.start;
        } else {
            target = paraStart + span.stop;
            atLineEnd = !span.lastOfParagraph;
        }
        break;
    }
    default:
        return false;
    }
    desiredX_ = -1;
    if (block) {
        const Pos tp = doc.paragraphAt(target);
        extendBlock(target, engine_.columnOf(tp, target - doc.paragraphStart(tp)));
    } else {
        moveCaret(target, shift, atLineEnd);
    }
    return true;
}

// --- Editing keys --------------------------------------------------------------------------------

bool TextEditor::handleCommandKey(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool control = (mods & Qt::ControlModifier) != 0;
    const bool shift = (mods & Qt::ShiftModifier) != 0;
    const bool editable = !readOnly_;
    const bool hasSelection = engine_.selection().length() != 0 || engine_.selection().isBlock();

    if (control && !(mods & Qt::AltModifier)) {
        switch (key) {
        case Qt::Key_C:
            copyToClipboard();
            return true;
        case Qt::Key_X:
            if (editable) {
                cutToClipboard();
            }
            return true;
        case Qt::Key_V:
            if (editable) {
                pasteFromClipboard();
            }
            return true;
        case Qt::Key_Insert:
            copyToClipboard();
            return true;
        case Qt::Key_Z:
            if (editable) {
                shift ? engine_.redo() : engine_.undo();
            }
            return true;
        case Qt::Key_E: {
            viewport()->update();
            const std::string message = engine_.consistencyCheck();
            if (!message.empty()) {
                const QString text = QString::fromStdString(message);
                if (isSignalConnected(QMetaMethod::fromSignal(&TextEditor::consistencyError))) {
                    Q_EMIT consistencyError(text);
                } else {
                    QMessageBox::critical(this, QString(), text);
                }
            }
            return true;
        }
        case Qt::Key_T:
            if (editable) {
                insertTyped("\t");
            }
            return true;
        case Qt::Key_P:
            if (editable) {
                engine_.setSelText(std::string_view("\r\n\f"));
            }
            return true;
        case Qt::Key_B:
            if (shift) {
                if (engine_.hasOption(eoBlockSelection)) {
                    setBlockSelectionMode(!blockSelectionMode_);
                }
                return true;
            }
            return true; // Ctrl+B, like the next four, is an in-text format code: none here
        case Qt::Key_J:
        case Qt::Key_U:
        case Qt::Key_H:
        case Qt::Key_F:
            return true;
        case Qt::Key_Backspace:
            if (editable) {
                pressBackspace(true);
            }
            return true;
        case Qt::Key_Delete:
            if (editable) {
                pressDelete(true);
            }
            return true;
        default:
            return false;
        }
    }

    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (editable) {
            pressEnter();
        }
        return true;
    case Qt::Key_Tab:
        if (editable) {
            pressTab();
        }
        return true;
    case Qt::Key_Backtab:
        // Shift+Tab types what Tab types: the editor keeps the focus either way.
        if (editable) {
            pressTab();
        }
        return true;
    case Qt::Key_Backspace:
        if (editable) {
            pressBackspace(false);
        }
        return true;
    case Qt::Key_Delete:
        if (editable) {
            if (shift && hasSelection) {
                cutToClipboard();
            } else {
                pressDelete(false);
            }
        }
        return true;
    case Qt::Key_Insert:
        if (shift) {
            if (editable) {
                pasteFromClipboard();
            }
        } else if (engine_.hasOption(eoInsertKeyActive)) {
            setOverwrite(!overwrite_);
            Q_EMIT styleChanged();
        }
        return true;
    case Qt::Key_Menu:
        if (contextMenuPolicy() == Qt::CustomContextMenu) {
            // the owner's popup menu (the main window's), opened at the caret; a scroll
            // area reports the position in its viewport's coordinates
            Q_EMIT customContextMenuRequested(caretRect().bottomLeft());
        } else if (QMenu* menu = builtInPopupMenu()) {
            Q_EMIT internalPopup(menu);
            menu->popup(viewport()->mapToGlobal(caretRect().bottomLeft()));
        }
        return true;
    default:
        return false;
    }
}

void TextEditor::pressEnter() {
    const bool empty = engine_.selection().length() == 0 && !engine_.selection().isBlock();
    if (overwrite_ && empty) {
        // Overwrite mode: Enter only moves to the next line's start, adding one at the end.
        const Pos line = caretLine();
        if (line + 1 >= layout_->knownLineCount()) {
            engine_.setSelStart(engine_.charCount());
            engine_.setSelText(std::string_view("\r\n"));
        } else {
            moveCaret(layout_->knownLineStart(stepLines(line, 1)), false);
            desiredX_ = -1;
        }
        return;
    }
    if (engine_.hasOption(eoAutoIndent) && empty) {
        engine_.setSelText(autoIndentBreak(engine_));
        return;
    }
    engine_.setSelText(std::string_view("\r\n"));
}

void TextEditor::pressTab() {
    if (!engine_.hasOption(eoSmartTabs) || wordWrap_) {
        engine_.setSelText(std::string_view("\t"));
        return;
    }
    const std::string spaces = smartTabSpaces(engine_);
    if (!spaces.empty()) {
        engine_.setSelText(engine_.selText() + spaces);
    }
}

void TextEditor::pressBackspace(bool word) {
    const Document& doc = engine_.document();
    const Pos caret = engine_.selection().caret();
    if (engine_.selection().length() != 0 || engine_.selection().isBlock()) {
        engine_.setSelText(std::string_view());
        return;
    }
    Pos from = caret;
    if (word) {
        from = engine_.previousWordStart(caret);
    } else if (caret == doc.paragraphStart(doc.paragraphAt(caret))) {
        from = caret >= 2 ? caret - 2 : caret; // joins the paragraph to the one before
    } else {
        from = caret - 1;
    }
    if (from < caret) {
        engine_.select(caret, from);
        engine_.setSelText(std::string_view());
    }
}

void TextEditor::pressDelete(bool toLineEnd) {
    const Document& doc = engine_.document();
    if (toLineEnd) {
        // Ctrl+Delete: from the selection's start to the end of its display line, when
        // the selection lies in one paragraph.
        const Pos low = engine_.selection().low();
        if (doc.paragraphAt(low) != doc.paragraphAt(engine_.selection().high())) {
            return;
        }
        const Pos p = doc.paragraphAt(low);
        layout_->ensureFormatted(p);
        const WrappedLayout::LineSpan span = layout_->knownLine(layout_->knownLineOfPosition(low));
        const Pos end = doc.paragraphStart(p) + span.stop;
        if (end > low) {
            engine_.select(end, low);
            engine_.setSelText(std::string_view());
        }
        return;
    }
    if (engine_.selection().length() != 0 || engine_.selection().isBlock()) {
        engine_.setSelText(std::string_view());
        return;
    }
    const Pos caret = engine_.selection().caret();
    const Pos p = doc.paragraphAt(caret);
    Pos to = caret + 1;
    if (caret == doc.paragraphStart(p) + doc.paragraphLength(p)) {
        if (p + 1 >= doc.paragraphCount()) {
            return;
        }
        to = caret + 2; // the break
    }
    engine_.select(to, caret);
    engine_.setSelText(std::string_view());
}

} // namespace tavrel
