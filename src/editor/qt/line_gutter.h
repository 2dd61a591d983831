// The line-number gutter beside an editor: numbers each display line (each paragraph
// without word wrap, or only paragraph starts) on the editor's own baselines, and follows
// the editor's scrolling.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include "editor/types.h"

namespace tavrel {

class TextEditor;

class LineGutter : public QWidget {
    Q_OBJECT

public:
    explicit LineGutter(QWidget* parent = nullptr);

    void setEditor(TextEditor* editor);
    [[nodiscard]] TextEditor* editor() const;

    void setLineNumbers(bool on);
    [[nodiscard]] bool lineNumbers() const noexcept { return lineNumbers_; }
    void setParagraphNumbers(bool on);
    // Qt::AlignLeft, Qt::AlignRight or Qt::AlignHCenter (the default).
    void setAlignment(Qt::Alignment alignment);
    [[nodiscard]] Qt::Alignment alignment() const noexcept { return alignment_; }
    void setIgnoreLastLineIfEmpty(bool on);
    void setRightBorder(bool on);
    void setColor(const QColor& color);
    [[nodiscard]] QColor color() const { return color_; }
    void setTextColor(const QColor& color);
    [[nodiscard]] QColor textColor() const { return textColor_; }

    // The number shown on a display line, or an empty text.
    [[nodiscard]] QString labelOf(Pos line) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintNumbers(QPaintEvent* event); // inside the out-of-memory guard
    void editorLinesChanged();
    void editorScrolled(int dy);
    [[nodiscard]] Pos numberedLines() const;

    QPointer<TextEditor> editor_;
    bool lineNumbers_ = true;
    bool paragraphNumbers_ = false;
    Qt::Alignment alignment_ = Qt::AlignHCenter;
    bool ignoreLastLineIfEmpty_ = false;
    bool rightBorder_ = true;
    QColor color_{0, 0, 0x4A};
    QColor textColor_{Qt::white};
    Pos knownLines_ = -1;
    Pos knownParagraphs_ = -1;
};

} // namespace tavrel
