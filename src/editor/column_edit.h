// Editing rules that work in display columns (tabs expanded to the tab stops): pasting a
// column block, the smart tab and the indentation Enter copies. They act on the engine
// alone, so the keyboard, the clipboard commands and the tests share them.
#pragma once

#include <string>
#include <string_view>

#include "editor/text_engine.h"
#include "editor/types.h"

namespace tavrel {

// The caret's display column in its paragraph.
[[nodiscard]] Pos caretColumn(const TextEngine& engine);

// Inserts the rows of `text` (split at its breaks; the break after the last row ends it)
// one under another at the caret's display column: row i goes into the caret's paragraph
// + i, a paragraph past the end is appended, a paragraph too short is padded with spaces.
// The selection is deleted first. One batch, so one undo step.
void pasteColumnBlock(TextEngine& engine, std::string_view text);

// The spaces that align the caret with the start of the next word of the nearest line
// above that reaches past the caret's column; empty when no line above does.
[[nodiscard]] std::string smartTabSpaces(const TextEngine& engine);

// What Enter inserts with auto-indent: CR LF and the leading blanks of the nearest
// non-empty display line at or above the caret's, at most as many as the caret's column
// in its display line.
[[nodiscard]] std::string autoIndentBreak(TextEngine& engine);

} // namespace tavrel
