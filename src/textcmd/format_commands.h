// The Format submenu's commands, Date/Time and Delete line, acting on the editor engine's
// selection. The main window calls these from its menu handlers.
#pragma once

#include <string>

namespace tavrel {

class TextEngine;

/// Join Lines, Lowercase, Uppercase, Charset to UTF-8 and UTF-8 to Charset are enabled
/// exactly when something is selected (checked when the submenu opens).
[[nodiscard]] bool formatItemsEnabled(const TextEngine& engine) noexcept;

/// Each rewrites the selected bytes and writes them back as one undoable replace. Without a
/// selection they do nothing (their menu items are disabled then).
void joinLines(TextEngine& engine);
void lowercase(TextEngine& engine);
void uppercase(TextEngine& engine);
void charsetToUtf8(TextEngine& engine);
void utf8ToCharset(TextEngine& engine);

/// Writes `text` (the current date and time, formatted by the caller) in place of the
/// selection, or at the caret when nothing is selected.
void insertDateTime(TextEngine& engine, const std::string& text);

/// Deletes the paragraph that holds the caret, with its break; the last paragraph loses
/// only its text. With word wrap the caret's line is a display line, so its paragraph is
/// looked up first.
void deleteLine(TextEngine& engine);

} // namespace tavrel
