// Painting the gutter's numbers and keeping them in step with the editor.
#include "editor/qt/line_gutter.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"

namespace tavrel {

LineGutter::LineGutter(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LineGutter::setEditor(TextEditor* editor) {
    if (editor_ != nullptr) {
        disconnect(editor_, nullptr, this, nullptr);
    }
    editor_ = editor;
    if (editor_ != nullptr) {
        connect(editor_, &TextEditor::linesChanged, this, &LineGutter::editorLinesChanged);
        connect(editor_, &TextEditor::verticalScrolled, this, &LineGutter::editorScrolled);
    }
    update();
}

TextEditor* LineGutter::editor() const {
    return editor_;
}

void LineGutter::setLineNumbers(bool on) {
    lineNumbers_ = on;
    update();
}

void LineGutter::setParagraphNumbers(bool on) {
    paragraphNumbers_ = on;
    update();
}

void LineGutter::setAlignment(Qt::Alignment alignment) {
    alignment_ = alignment;
    update();
}

void LineGutter::setIgnoreLastLineIfEmpty(bool on) {
    ignoreLastLineIfEmpty_ = on;
    update();
}

void LineGutter::setRightBorder(bool on) {
    rightBorder_ = on;
    update();
}

void LineGutter::setColor(const QColor& color) {
    color_ = color;
    update();
}

void LineGutter::setTextColor(const QColor& color) {
    textColor_ = color;
    update();
}

void LineGutter::editorLinesChanged() {
    const Pos lines = editor_->lineCount();
    const Pos paragraphs = editor_->engine().document().paragraphCount();
    if (lines != knownLines_ || paragraphs != knownParagraphs_) {
        knownLines_ = lines;
        knownParagraphs_ = paragraphs;
        update();
    }
}

void LineGutter::editorScrolled(int dy) {
    // The same totals: the numbers only move with the text.
    if (editor_->lineCount() == knownLines_ &&
        editor_->engine().document().paragraphCount() == knownParagraphs_) {
        scroll(0, dy);
    } else {
        editorLinesChanged();
    }
}

Pos LineGutter::numberedLines() const {
    Pos lines = editor_->lineCount();
    if (ignoreLastLineIfEmpty_ && lines > 1) {
        const WrappedLayout::LineSpan last = editor_->layout().knownLine(lines - 1);
        if (last.stop == last.start) {
            --lines;
        }
    }
    return lines;
}

QString LineGutter::labelOf(Pos line) const {
    if (editor_ == nullptr || line < 0 || line >= numberedLines()) {
        return {};
    }
    if (paragraphNumbers_) {
        const WrappedLayout::LineSpan span = editor_->layout().knownLine(line);
        return span.subLine == 0 ? QString::number(span.paragraph + 1) : QString();
    }
    // With word wrap every display line is numbered; without it lines are paragraphs.
    return lineNumbers_ ? QString::number(line + 1) : QString();
}

void LineGutter::paintEvent(QPaintEvent* event) {
    platform::runGuarded([&] { paintNumbers(event); });
}

void LineGutter::paintNumbers(QPaintEvent* event) {
    QPainter painter(this);
    const QRect clip = event->rect();
    painter.fillRect(clip, color_);
    int numberWidth = width();
    if (rightBorder_) {
        numberWidth -= 2;
        painter.fillRect(QRect(width() - 2, clip.top(), 1, clip.height()),
                         palette().color(QPalette::Light));
        painter.fillRect(QRect(width() - 1, clip.top(), 1, clip.height()),
                         palette().color(QPalette::Dark));
    }
    if (editor_ == nullptr) {
        return;
    }
    const std::int64_t lh = editor_->lineHeight();
    const std::int64_t baseline = editor_->baseline();
    // Where the editor's text area starts, in our coordinates.
    const std::int64_t editorTop =
        mapFromGlobal(editor_->viewport()->mapToGlobal(QPoint(0, 0))).y();
    const std::int64_t offset = editor_->verticalOffset();
    const Pos total = numberedLines();
    Pos line = std::max<std::int64_t>(0, (clip.top() - editorTop + offset) / lh);
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    painter.setPen(textColor_);
    painter.setFont(font());
    for (; line < total; ++line) {
        const std::int64_t top = editorTop + line * lh - offset;
        if (top > clip.bottom()) {
            break;
        }
        const QString label = labelOf(line);
        if (label.isEmpty()) {
            continue;
        }
        const int textWidth = static_cast<int>(label.size()) * zero;
        int x = 0;
        if ((alignment_ & Qt::AlignRight) != 0) {
            x = numberWidth - textWidth;
        } else if ((alignment_ & Qt::AlignHCenter) != 0) {
            x = (numberWidth - textWidth) / 2;
        }
        painter.drawText(x, static_cast<int>(top + baseline), label);
    }
}

} // namespace tavrel
