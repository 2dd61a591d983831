// Building the Language submenu and switching languages from it.
#include "lang/qt/language_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <utility>

namespace tavrel {
namespace {

/// Names are file names and captions come from files: an "&" in one must show, not mark a
/// shortcut key.
QString menuText(const QString& name) {
    QString text = name;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return text;
}

} // namespace

LanguageMenu::LanguageMenu(QMenu* menu, ChangeHandler onChange)
    : QObject(menu), menu_(menu), group_(new QActionGroup(this)), onChange_(std::move(onChange)) {
    group_->setExclusive(true);
    connect(group_, &QActionGroup::triggered, this, [this](QAction* a) { languageClick(a); });
}

void LanguageMenu::build(const std::vector<std::string>& entries, const std::string& setting,
                         const std::vector<QString>& captions) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        const QString name = QString::fromStdString(entry);
        const bool named = i < captions.size() && !captions[i].isEmpty();
        auto* item = new QAction(menuText(named ? captions[i] : name), menu_);
        item->setData(name);
        item->setCheckable(true);
        group_->addAction(item);
        menu_->addAction(item);
        if (entry == setting) {
            item->setChecked(true);
            current_ = item;
        }
    }
    auto* placeholder = new QAction(QStringLiteral("dummy"), menu_);
    placeholder->setVisible(false);
    menu_->addAction(placeholder);
}

void LanguageMenu::languageClick(QAction* item) {
    if (item == nullptr || !group_->actions().contains(item)) {
        return;
    }
    // An exclusive group keeps a clicked checked item checked; only a change counts.
    item->setChecked(true);
    if (item == current_) {
        return;
    }
    current_ = item;
    if (onChange_) {
        onChange_(item->data().toString().toStdString());
    }
}

std::vector<QAction*> LanguageMenu::items() const {
    const auto actions = group_->actions();
    return {actions.begin(), actions.end()};
}

} // namespace tavrel
