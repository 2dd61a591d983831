// The enabling rules of the main window's items, one row each.
#include "app/item_enabling.h"

#include "editor/text_engine.h"
#include "textcmd/edit_commands.h"
#include "textcmd/format_commands.h"

#include <algorithm>

namespace tavrel {

std::vector<ItemEnabling> itemEnabling(const TextEngine& engine, const WindowState& window) {
    const EditMenuState edit = editMenuState(engine, window.clipboardHasText);
    const EditMenuState popup = popupMenuState(engine, window.clipboardHasText);
    const bool format = formatItemsEnabled(engine);
    // Saving is offered only for a modified document that has a name to save under; the
    // button and the menu item share the rule.
    const bool editable = !window.loading && !window.artDrawn;
    const bool save = window.modified && window.named && editable;
    using G = ItemGroup;
    return {
        {"Save1", G::FileMenu, save},
        {"Saveas1", G::FileMenu, editable},
        {"New1", G::FileMenu, engine.charCount() > 0},
        {"Properties1", G::FileMenu, window.nameIsFile},
        {"Undo1", G::EditMenu, edit.undo && editable},
        {"Redo1", G::EditMenu, edit.redo && editable},
        {"Deleteline1", G::EditMenu, editable},
        {"Cut1", G::EditMenu, edit.cut && editable},
        {"Copy1", G::EditMenu, edit.copy},
        {"Paste1", G::EditMenu, edit.paste && editable},
        {"TimeDate1", G::EditMenu, editable},
        {"LinefeedtoWordwrap1", G::FormatMenu, format && editable},
        {"Lowercase1", G::FormatMenu, format && editable},
        {"Uppercase1", G::FormatMenu, format && editable},
        {"CharsettoUTF81", G::FormatMenu, format && editable},
        {"UTF8toCharset1", G::FormatMenu, format && editable},
        {"Undo2", G::Popup, popup.undo && editable},
        {"Redo2", G::Popup, popup.redo && editable},
        {"Cut2", G::Popup, editable},
        {"Paste2", G::Popup, popup.paste && editable},
        {"buttonsave", G::Window, save},
        {"buttoncut", G::Window, editable},
        {"buttonpaste", G::Window, editable},
        {"FindNext1", G::Window, window.findNextOffered},
        {"FindPrev1", G::Window, window.findPreviousOffered},
        {"file_recentfiles", G::Window, window.recentFiles},
    };
}

bool isItemEnabled(const std::vector<ItemEnabling>& rows, std::string_view item) {
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [item](const ItemEnabling& r) { return r.item == item; });
    return row != rows.end() && row->enabled;
}

} // namespace tavrel
