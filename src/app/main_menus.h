// The main window's menu bar and the editor's popup menu as the program designs them: every
// item with its object name, caption, translation tag and shortcut, in one table each.
// Items whose commands are not built yet are made disabled here and stay so.
#pragma once

#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace tavrel {

enum class MenuRowKind : std::uint8_t { Menu, End, Item, Separator };

// Row flags.
inline constexpr unsigned kCheckable = 1;
inline constexpr unsigned kRadio = 2;           // one group with the radio rows next to it
inline constexpr unsigned kHidden = 4;          // never shown
inline constexpr unsigned kNotYet = 8;          // its command is not built yet: disabled
inline constexpr unsigned kStartsDisabled = 16; // enabled later by its command's state

struct MenuRow {
    MenuRowKind kind;
    const char* name = "";     // object name, as the program has always called the item
    const char* caption = "";  // built-in English text ("&&" shows one "&")
    int tag = 0;               // translation tag, 0 for none
    const char* shortcut = ""; // in QKeySequence's portable form
    unsigned flags = 0;
};

// The menu bar: File, Edit, Options, Help.
[[nodiscard]] std::span<const MenuRow> mainMenuRows();
// The editor's popup menu.
[[nodiscard]] std::span<const MenuRow> popupMenuRows();

// The built menus, reachable by the rows' names.
class MenuSet {
public:
    // Adds the rows' menus to `bar`; with `popup` given the rows fill that menu instead.
    void build(std::span<const MenuRow> rows, QMenuBar* bar, QMenu* popup, QWidget* owner);

    // The named item (a menu's own action for a submenu); throws std::out_of_range for a
    // name that no row has, which is a programming error.
    [[nodiscard]] QAction* action(const std::string& name) const;
    [[nodiscard]] QMenu* menu(const std::string& name) const;

private:
    std::unordered_map<std::string, QAction*> actions_;
    std::unordered_map<std::string, QMenu*> menus_;
};

} // namespace tavrel
