// How paragraphs break into display lines. The engine asks this interface for the caret's
// line and column; the editor widget supplies a layout that wraps at its width, and an
// engine on its own uses one display line per paragraph.
#pragma once

#include "editor/document.h"
#include "editor/types.h"

namespace tavrel {

class LineLayout {
public:
    virtual ~LineLayout() = default;

    // Whether the caret's line number counts display lines (true) or paragraphs (false).
    [[nodiscard]] virtual bool wordWrap() const = 0;
    // Total display lines; formats as far as needed to know.
    [[nodiscard]] virtual Pos lineCount() = 0;
    // Index of the first display line of a paragraph.
    [[nodiscard]] virtual Pos firstLineOf(Pos paragraph) = 0;
    // Number of display lines of a paragraph (at least 1).
    [[nodiscard]] virtual Pos lineCountOf(Pos paragraph) = 0;
    // Offset inside its paragraph at which display line `subLine` of it starts.
    [[nodiscard]] virtual Pos lineStart(Pos paragraph, Pos subLine) = 0;
    // The paragraph that holds a (clamped) display line.
    [[nodiscard]] virtual Pos paragraphOfLine(Pos line) = 0;

    // Called after every structural change of the document, before anything else reads it.
    virtual void textChanged(const TextChange& change) = 0;
    // Called after the whole document was replaced by a load.
    virtual void documentReset() = 0;
};

// One display line per paragraph: what an engine without a view sees.
class ParagraphLayout final : public LineLayout {
public:
    explicit ParagraphLayout(const Document& document) : document_(document) {}

    [[nodiscard]] bool wordWrap() const override { return false; }
    [[nodiscard]] Pos lineCount() override { return document_.paragraphCount(); }
    [[nodiscard]] Pos firstLineOf(Pos paragraph) override { return paragraph; }
    [[nodiscard]] Pos lineCountOf(Pos) override { return 1; }
    [[nodiscard]] Pos lineStart(Pos, Pos) override { return 0; }
    [[nodiscard]] Pos paragraphOfLine(Pos line) override {
        const Pos last = document_.paragraphCount() - 1;
        return line < 0 ? 0 : (line > last ? last : line);
    }
    void textChanged(const TextChange&) override {}
    void documentReset() override {}

private:
    const Document& document_;
};

} // namespace tavrel
