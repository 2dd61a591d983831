// The editor control's clipboard commands (plain text, the column-block marker, the
// plain-clipboard option) and its built-in popup menu.
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

#include <algorithm>

#include "editor/column_edit.h"
#include "editor/qt/ansi_text.h"
#include "editor/qt/text_editor.h"
#include "text/seen_text.h"

namespace tavrel {
namespace {

// The marker's one byte: 2 says "this text is a column block".
constexpr char kColumnBlockMarker = 2;

// Menu items: fixed captions, never translated.
enum PopupItem { kUndo = 0, kRedo = 1, kCut = 3, kCopy = 4, kPaste = 5, kSelectAll = 7 };

} // namespace

QString TextEditor::clipboardText(std::string_view bytes) const {
    if (!copyGlyphs_) {
        // A NUL goes as the blank cell it is drawn as: other programs take a U+0000 for the
        // end of the text and would drop the rest of the copy without a word.
        return ansiToQString(bytes).replace(QChar(u'\0'), QLatin1Char(' '));
    }
    const std::u16string seen = bytesAsSeen(bytes, byteGlyphs());
    return QString(reinterpret_cast<const QChar*>(seen.data()),
                   static_cast<qsizetype>(seen.size()));
}

std::string TextEditor::clipboardBytes(const QString& text) const {
    if (!copyGlyphs_) {
        return qStringToAnsi(text);
    }
    return bytesFromSeen(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                             static_cast<std::size_t>(text.size())),
                         byteGlyphs());
}

void TextEditor::copyToClipboard() {
    const bool block = engine_.selection().isBlock();
    if (!block && engine_.selection().length() == 0) {
        return;
    }
    std::string bytes = engine_.selText();
    if (!block && engine_.hasOption(eoPlainClipboard)) {
        std::erase_if(bytes,
                      [](char c) { return c == 1 || c == 2 || c == 3 || c == 4 || c == 21; });
    }
    auto* mime = new QMimeData;
    mime->setText(clipboardText(bytes));
    if (block) {
        mime->setData(QString::fromLatin1(kColumnBlockMimeType), QByteArray(1, kColumnBlockMarker));
    }
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TextEditor::cutToClipboard() {
    if (readOnly_ || (engine_.selection().length() == 0 && !engine_.selection().isBlock())) {
        return;
    }
    copyToClipboard();
    engine_.setSelText(std::string_view());
}

void TextEditor::pasteFromClipboard() {
    if (readOnly_) {
        return;
    }
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (mime == nullptr || !mime->hasText()) {
        return;
    }
    const std::string bytes = clipboardBytes(mime->text());
    const QByteArray marker = mime->data(QString::fromLatin1(kColumnBlockMimeType));
    // Each paste is an undo step of its own, never joined to typing around it.
    engine_.breakUndoGroup();
    if (engine_.hasOption(eoBlockSelection) && marker.size() == 1 &&
        marker[0] == kColumnBlockMarker) {
        pasteColumnBlock(engine_, bytes);
    } else {
        engine_.setSelText(std::string_view(bytes));
    }
    engine_.breakUndoGroup();
}

QMenu* TextEditor::builtInPopupMenu() {
    if (engine_.hasOption(eoNoDefaultPopup) || contextMenuPolicy() != Qt::DefaultContextMenu) {
        return nullptr;
    }
    if (popup_ == nullptr) {
        popup_ = new QMenu(this);
        const auto scrolled = [this](void (TextEditor::*command)()) {
            return [this, command] {
                (this->*command)();
                scrollInView();
            };
        };
        popup_->addAction(QStringLiteral("&Undo"), this, [this] {
            engine_.undo();
            scrollInView();
        });
        popup_->addAction(QStringLiteral("&Redo"), this, [this] {
            engine_.redo();
            scrollInView();
        });
        popup_->addSeparator();
        popup_->addAction(QStringLiteral("Cu&t"), this, scrolled(&TextEditor::cutToClipboard));
        popup_->addAction(QStringLiteral("&Copy"), this, [this] { copyToClipboard(); });
        popup_->addAction(QStringLiteral("&Paste"), this,
                          scrolled(&TextEditor::pasteFromClipboard));
        popup_->addSeparator();
        popup_->addAction(QStringLiteral("&Select all"), this, [this] { engine_.selectAll(); });
    }
    updatePopupMenu();
    return popup_;
}

void TextEditor::updatePopupMenu() {
    if (popup_ == nullptr) {
        return;
    }
    const QList<QAction*> items = popup_->actions();
    const bool selection = engine_.selection().length() != 0 || engine_.selection().isBlock();
    const bool editable = !readOnly_;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    items[kUndo]->setEnabled(engine_.canUndo());
    items[kRedo]->setEnabled(engine_.canRedo());
    items[kCut]->setEnabled(selection && editable);
    items[kCopy]->setEnabled(selection);
    items[kPaste]->setEnabled(editable && mime != nullptr && mime->hasText());
    items[kSelectAll]->setEnabled(true);
}

} // namespace tavrel
