// Which of the main window's items are enabled: every rule in one table, computed from the
// window's state and its editor. The window applies a menu's rows when that menu opens (so a
// shortcut, which acts as if its menu had opened, meets the same rule) and the rows that
// follow the window's own state (Save button, Find Next and Previous, recent files) whenever
// that state changes.
#pragma once

#include <string_view>
#include <vector>

namespace tavrel {

class TextEngine;

// What the window knows beyond its editor.
struct WindowState {
    bool modified = false;         // changed since the last load, new or save
    bool named = false;            // the document has a file name
    bool nameIsFile = false;       // ... and it names an existing file
    bool clipboardHasText = false; // asked only when a menu that offers Paste opens
    bool findNextOffered = false;  // a dialog search left something to repeat
    bool findPreviousOffered = false;
    bool recentFiles = false; // the Recent files submenu has items
    // A file is loading: the document behind its first screen is about to go, so nothing
    // may change it or save it under a name the title no longer shows.
    bool loading = false;
    // The document is ANSI art's drawn screen: its text is not the file's, so nothing may
    // change it or save it.
    bool artDrawn = false;
};

// When a row is applied.
enum class ItemGroup {
    FileMenu,   // when the File menu opens
    EditMenu,   // when the Edit menu opens
    FormatMenu, // when the Format submenu opens
    Popup,      // when the editor's popup menu opens
    Window,     // whenever the window's state changes
};

struct ItemEnabling {
    std::string_view item; // the object name of the action, submenu or button
    ItemGroup group;
    bool enabled;
};

// Every item whose enabled state follows a rule. Items not listed never change (Open,
// Select all, the popup's Copy, the Copy button...).
[[nodiscard]] std::vector<ItemEnabling> itemEnabling(const TextEngine& engine,
                                                     const WindowState& window);

// The row for `item`; false for an item without a rule.
[[nodiscard]] bool isItemEnabled(const std::vector<ItemEnabling>& rows, std::string_view item);

} // namespace tavrel
