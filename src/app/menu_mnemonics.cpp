// Walks menus and hands each group of captions to the mnemonic picker.
#include "app/menu_mnemonics.h"

#include "app/mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QVariant>

namespace tavrel {
namespace {

// An action's caption before and after a key was given to it here.
constexpr char kOwnText[] = "tavrelOwnCaption";
constexpr char kGivenText[] = "tavrelGivenCaption";

// One group: the visible, non-separator actions of one menu or of the menu bar.
void assignGroup(const QList<QAction*>& actions, std::u16string_view taken = {}) {
    QList<QAction*> items;
    std::vector<std::u16string> captions;
    for (QAction* action : actions) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        // A caption that still shows the key given last time gets its own text back first:
        // after a change of language the keys are chosen afresh for every item, those the
        // language file does not name (the language names) as much as the others.
        if (action->property(kGivenText).toString() == action->text()) {
            action->setText(action->property(kOwnText).toString());
        }
        items.push_back(action);
        captions.push_back(action->text().toStdU16String());
    }
    const std::vector<std::u16string> given = withMnemonics(captions, taken);
    for (qsizetype i = 0; i < items.size(); ++i) {
        const auto index = static_cast<std::size_t>(i);
        if (given[index] != captions[index]) {
            const QString text = QString::fromStdU16String(given[index]);
            items[i]->setProperty(kOwnText, items[i]->text());
            items[i]->setProperty(kGivenText, text);
            items[i]->setText(text);
        }
    }
}

void assignSubmenus(const QList<QAction*>& actions, const QMenu* skip) {
    for (QAction* action : actions) {
        if (QMenu* sub = action->menu(); sub != nullptr) {
            assignMenuMnemonics(sub, skip);
        }
    }
}

} // namespace

void assignMenuMnemonics(QMenuBar* bar, const QMenu* skip, const QList<QAbstractButton*>& buttons) {
    std::u16string taken;
    for (const QAbstractButton* button : buttons) {
        if (const auto key = mnemonicOf(button->text().toStdU16String())) {
            taken.push_back(*key);
        }
    }
    assignGroup(bar->actions(), taken);
    assignSubmenus(bar->actions(), skip);
}

void assignMenuMnemonics(QMenu* menu, const QMenu* skip) {
    if (menu == skip) {
        return;
    }
    assignGroup(menu->actions());
    assignSubmenus(menu->actions(), skip);
}

} // namespace tavrel
