// Gives the menu bar's menus and a window's popup menus their automatic mnemonics after
// the language has set their captions.
#pragma once

#include <QList>

class QAbstractButton;
class QMenu;
class QMenuBar;

namespace tavrel {

// The menu titles of `bar` and, menu by menu, the items of every menu below it; `skip` (the
// recent files, whose captions are file names) keeps its captions as they are. The menu
// titles avoid the keys of `buttons`, which answer Alt and a letter in the same window.
void assignMenuMnemonics(QMenuBar* bar, const QMenu* skip = nullptr,
                         const QList<QAbstractButton*>& buttons = {});
// The items of `menu` and of its submenus.
void assignMenuMnemonics(QMenu* menu, const QMenu* skip = nullptr);

} // namespace tavrel
