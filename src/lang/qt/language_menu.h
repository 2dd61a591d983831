// The Options > Language submenu: one radio item per language name and the handling of a
// click on one of them.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;

namespace tavrel {

class LanguageMenu : public QObject {
public:
    /// Called with the chosen name (UTF-8) after the user picked another language; the
    /// program stores it as its setting and applies it.
    using ChangeHandler = std::function<void(const std::string& name)>;

    /// Lives as long as `menu`, which it fills.
    LanguageMenu(QMenu* menu, ChangeHandler onChange);

    LanguageMenu(const LanguageMenu&) = delete;
    LanguageMenu& operator=(const LanguageMenu&) = delete;

    /// Adds a radio item for each entry in the given order (as listLanguages sorts them),
    /// checked when its name equals `setting` exactly, then an invisible placeholder. An item
    /// shows its entry's caption where `captions` gives a non-empty one (a language's name in
    /// itself), else the name.
    void build(const std::vector<std::string>& entries, const std::string& setting,
               const std::vector<QString>& captions = {});

    /// A click on a language item: nothing when it is already the checked one, otherwise
    /// it becomes the checked one and the change handler runs with its name.
    void languageClick(QAction* item);

    /// The language items in menu order (without the placeholder).
    [[nodiscard]] std::vector<QAction*> items() const;

private:
    QMenu* menu_;
    QActionGroup* group_;
    QAction* current_ = nullptr;
    ChangeHandler onChange_;
};

} // namespace tavrel
