// The rules of the Edit menu, the popup menu and the copy routine, on the engine's selection:
// which items a menu shows enabled when it opens, what Copy puts on the clipboard with and
// without trimming, and Ctrl+Y's emptying of the caret's line.
#pragma once

#include <string>

namespace tavrel {

class TextEngine;

struct EditMenuState {
    bool undo = false;
    bool redo = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
};

// The Edit menu's items as its opening sets them; a shortcut runs its item only when this
// enables it.
[[nodiscard]] EditMenuState editMenuState(const TextEngine& engine, bool clipboardHasText) noexcept;
// The popup's: Cut and Copy stay enabled (with nothing selected they do nothing).
[[nodiscard]] EditMenuState popupMenuState(const TextEngine& engine,
                                           bool clipboardHasText) noexcept;

// What the copy routine does with the current selection.
struct CopyPlan {
    enum class Kind {
        Nothing,    // nothing selected: the clipboard keeps what it holds
        EditorCopy, // the editor's own copy (format codes removed, a column block as a block)
        PlainText,  // `text` goes to the clipboard as plain text
    };
    Kind kind = Kind::Nothing;
    std::string text;
    // The trimmed text ended at a NUL before more text of the selection: the user is told,
    // as what was left out would otherwise vanish without a word.
    bool endedAtNul = false;
};

[[nodiscard]] CopyPlan planCopy(const TextEngine& engine, bool trim);

// The selection as trimmed copying takes it: the characters between the selection's two
// ends as one run (a column block's corners included, paragraph breaks as CR LF, nothing
// filtered), cut at the first NUL byte, and without any byte up to 0x20 (blanks, tabs, line
// breaks, control codes) at either end. `endedAtNul` learns whether the cut left out a byte
// above 0x20 (one the trimming would have kept).
[[nodiscard]] std::string trimmedSelection(const TextEngine& engine, bool* endedAtNul = nullptr);

// Ctrl+Y: the paragraph that holds the caret keeps its break and loses its text, as one
// undoable change. Nothing happens on an empty paragraph.
void clearCaretLine(TextEngine& engine);

} // namespace tavrel
