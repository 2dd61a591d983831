// The Paragraphs and Lines views: list-shaped reading and editing on top of the engine's
// one replace operation and its layout.
#include "editor/text_views.h"

#include <algorithm>
#include <stdexcept>

#include "editor/text_engine.h"

namespace tavrel {

namespace {

// Where a position lands after the text [start, start + oldLength) became newLength long:
// the caret keeps its place relative to the text around the change.
Pos keepRelative(Pos position, Pos start, Pos oldLength, Pos newLength) {
    if (position <= start) {
        return position;
    }
    if (position >= start + oldLength) {
        return position + newLength - oldLength;
    }
    return std::min(position, start + newLength);
}

} // namespace

// --- Paragraphs view ------------------------------------------------------------------------

Pos ParagraphsView::count() const noexcept {
    const Document& doc = engine_.document();
    const Pos n = doc.paragraphCount();
    return doc.paragraphLength(n - 1) == 0 ? n - 1 : n;
}

std::string_view ParagraphsView::at(Pos index) {
    Document& doc = engine_.document();
    if (index < 0 || index >= doc.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    return doc.paragraph(index);
}

std::string ParagraphsView::text() const {
    return engine_.document().text();
}

void ParagraphsView::setText(std::string_view text) {
    engine_.replaceAll(text, nullptr);
}

void ParagraphsView::setText(std::string&& text) {
    const std::string_view view(text);
    engine_.replaceAll(view, &text);
}

void ParagraphsView::replaceKeepingSelection(Pos start, Pos stop, std::string_view text) {
    const Pos caret = engine_.selection().caret();
    const Pos anchor = engine_.selection().anchor();
    const Pos before = engine_.charCount();
    engine_.select(start, stop);
    engine_.setSelText(text);
    const Pos oldLength = stop - start;
    const Pos newLength = oldLength + engine_.charCount() - before;
    engine_.select(keepRelative(anchor, start, oldLength, newLength),
                   keepRelative(caret, start, oldLength, newLength));
}

void ParagraphsView::set(Pos index, std::string_view text) {
    const Document& doc = engine_.document();
    if (index < 0 || index > doc.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    engine_.beginUpdate(); // the appended break and the text undo as one
    if (index == doc.paragraphCount()) {
        replaceKeepingSelection(engine_.charCount(), engine_.charCount(), "\r\n");
    }
    const Pos start = doc.paragraphStart(index);
    replaceKeepingSelection(start, start + doc.paragraphLength(index), text);
    engine_.endUpdate();
}

Pos ParagraphsView::add(std::string_view text) {
    const Document& doc = engine_.document();
    const Pos last = doc.paragraphCount() - 1;
    const Pos end = engine_.charCount();
    if (doc.paragraphLength(last) != 0) {
        replaceKeepingSelection(end, end, std::string("\r\n").append(text));
        return last + 1;
    }
    replaceKeepingSelection(doc.paragraphStart(last), end, std::string(text).append("\r\n"));
    return last;
}

void ParagraphsView::insert(Pos index, std::string_view text) {
    const Document& doc = engine_.document();
    if (index >= 0 && index < doc.paragraphCount()) {
        const Pos at = doc.paragraphStart(index);
        replaceKeepingSelection(at, at, std::string(text).append("\r\n"));
    } else {
        const Pos end = engine_.charCount();
        replaceKeepingSelection(end, end, std::string("\r\n").append(text));
    }
}

void ParagraphsView::remove(Pos index) {
    const Document& doc = engine_.document();
    if (index < 0 || index >= doc.paragraphCount()) {
        throw std::out_of_range("List index out of bounds");
    }
    const Pos start = doc.paragraphStart(index);
    const Pos stop = index + 1 < doc.paragraphCount() ? doc.paragraphStart(index + 1)
                                                      : start + doc.paragraphLength(index);
    replaceKeepingSelection(start, stop, std::string_view());
}

// --- Lines view -----------------------------------------------------------------------------

Pos LinesView::count() {
    LineLayout& layout = engine_.layout();
    const Pos lines = layout.lineCount();
    const Pos last = engine_.document().paragraphCount() - 1;
    const auto [start, stop] = bounds(last, layout.lineCountOf(last) - 1);
    return start == stop ? lines - 1 : lines;
}

std::string_view LinesView::text(Pos line) {
    LineLayout& layout = engine_.layout();
    const Pos p = layout.paragraphOfLine(line);
    const Pos sub = std::clamp<Pos>(line - layout.firstLineOf(p), 0, layout.lineCountOf(p) - 1);
    const auto [start, stop] = bounds(p, sub);
    return engine_.document().paragraphPart(p, start, stop);
}

std::pair<Pos, Pos> LinesView::bounds(Pos paragraph, Pos subLine) {
    LineLayout& layout = engine_.layout();
    const Pos start = layout.lineStart(paragraph, subLine);
    const Pos stop = subLine + 1 < layout.lineCountOf(paragraph)
                         ? layout.lineStart(paragraph, subLine + 1)
                         : engine_.document().paragraphLength(paragraph);
    return {start, stop};
}

Pos LinesView::paragraphOf(Pos line) {
    return engine_.layout().paragraphOfLine(line);
}

Pos LinesView::caretLine() {
    LineLayout& layout = engine_.layout();
    const Document& doc = engine_.document();
    const Pos caret = engine_.selection().caret();
    const Pos p = doc.paragraphAt(caret);
    if (!layout.wordWrap()) {
        return p;
    }
    // The last display line of the paragraph that starts at or before the caret, found by
    // halving: a paragraph can have millions of lines.
    const Pos offset = caret - doc.paragraphStart(p);
    Pos low = 0;
    Pos high = layout.lineCountOf(p) - 1;
    while (low < high) {
        const Pos middle = low + (high - low + 1) / 2;
        if (layout.lineStart(p, middle) > offset) {
            high = middle - 1;
        } else {
            low = middle;
        }
    }
    return layout.firstLineOf(p) + low;
}

Pos LinesView::caretColumn() {
    LineLayout& layout = engine_.layout();
    const Pos line = caretLine();
    const Pos p = layout.paragraphOfLine(line);
    const Pos sub = layout.wordWrap() ? line - layout.firstLineOf(p) : 0;
    return engine_.selection().caret() - engine_.document().paragraphStart(p) -
           layout.lineStart(p, sub);
}

void LinesView::setCaretColumn(Pos column) {
    LineLayout& layout = engine_.layout();
    const Pos line = caretLine();
    const Pos p = layout.paragraphOfLine(line);
    const Pos sub = layout.wordWrap() ? line - layout.firstLineOf(p) : 0;
    const auto [start, stop] = bounds(p, sub);
    engine_.setSelStart(engine_.document().paragraphStart(p) +
                        std::clamp<Pos>(start + column, start, stop));
}

} // namespace tavrel
