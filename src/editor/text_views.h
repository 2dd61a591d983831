// Two views of an engine's text as lists, for the commands and the tests that think in
// paragraphs or display lines: the Paragraphs view edits the text item by item, each edit one
// undoable step that keeps the selection where it was; the Lines view reads the display
// lines as the layout breaks them and knows the caret's line and column.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "editor/types.h"

namespace tavrel {

class TextEngine;

class ParagraphsView {
public:
    explicit ParagraphsView(TextEngine& engine) noexcept : engine_(engine) {}
    ParagraphsView(const ParagraphsView&) = delete; // a face of one engine, not a value
    ParagraphsView& operator=(const ParagraphsView&) = delete;

    // The items: a trailing empty paragraph (after a final line break) is not counted, so an
    // empty document has none. (The document's paragraphCount() counts it and is never 0.)
    [[nodiscard]] Pos count() const noexcept;
    // Item i (the trailing empty paragraph may be read too); throws
    // std::out_of_range("List index out of bounds").
    [[nodiscard]] std::string_view at(Pos index);
    [[nodiscard]] std::string text() const;

    // One undoable replace of everything; the caret goes to 0 and the view to the top.
    void setText(std::string_view text);
    void setText(std::string&& text); // the engine may keep the string's buffer
    void setText(const char* text) { setText(std::string_view(text)); }
    void clear() { setText(std::string_view()); }
    // Replaces item `index`; index == the document's paragraph count appends one.
    void set(Pos index, std::string_view text);
    // Appends an item and returns its index.
    Pos add(std::string_view text);
    // Inserts before item `index`; an index outside the list appends.
    void insert(Pos index, std::string_view text);
    void remove(Pos index);

private:
    // [start, stop) becomes text as one undoable step, and the caret and the anchor keep
    // their places relative to the text around the change.
    void replaceKeepingSelection(Pos start, Pos stop, std::string_view text);

    TextEngine& engine_;
};

class LinesView {
public:
    explicit LinesView(TextEngine& engine) noexcept : engine_(engine) {}
    LinesView(const LinesView&) = delete; // a face of one engine, not a value
    LinesView& operator=(const LinesView&) = delete;

    // Display lines; a trailing empty display line is not counted.
    [[nodiscard]] Pos count();
    [[nodiscard]] std::string_view text(Pos line);
    // Offsets [start, stop) of a paragraph's display line within the paragraph.
    [[nodiscard]] std::pair<Pos, Pos> bounds(Pos paragraph, Pos subLine);
    [[nodiscard]] Pos paragraphOf(Pos line);

    // The caret's line: its paragraph without word wrap, its display line with it.
    [[nodiscard]] Pos caretLine();
    // The caret's offset in its display line; setting it empties the selection.
    [[nodiscard]] Pos caretColumn();
    void setCaretColumn(Pos column);

private:
    TextEngine& engine_;
};

} // namespace tavrel
