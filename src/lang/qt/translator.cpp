// The Qt walk behind translateComponent.
#include "lang/qt/translator.h"

#include "text/code_page.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QObject>
#include <QVariant>
#include <QWidget>

namespace tavrel {
namespace {

int tagOf(const QObject* object) {
    bool ok = false;
    const int tag = object->property(translationTagProperty).toInt(&ok);
    return ok ? tag : 0;
}

bool isWindowWithTitle(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    // A menu is a window of its own to Qt, but its text is its title, not a caption.
    return widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(object) == nullptr;
}

void translateOne(QObject* object, const LanguageStrings& strings) {
    const int tag = tagOf(object);
    if (tag <= 0) {
        return;
    }
    const QString text = fromCodePage(strings.getLangString(tag));
    if (isWindowWithTitle(object)) {
        static_cast<QWidget*>(object)->setWindowTitle(text);
        return;
    }
    if (text.isEmpty()) {
        return;
    }
    if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    }
}

} // namespace

QString fromCodePage(std::string_view bytes) {
    return QString::fromStdU16String(codePageToWide(bytes));
}

QString langText(const LanguageStrings& strings, int number, const QString& defaultText) {
    const std::string text = strings.getLangString(number);
    return text.empty() ? defaultText : fromCodePage(text);
}

void translateComponent(QObject* component, const LanguageStrings& strings) {
    if (component == nullptr) {
        return;
    }
    translateOne(component, strings);
    // Qt nests objects (central widget, layouts' widgets, menu bar, menus, actions) where a
    // form-based design keeps them all at one level below the window, so every descendant is
    // visited: one call on the window translates the whole menu tree.
    const auto descendants = component->findChildren<QObject*>();
    for (QObject* object : descendants) {
        translateOne(object, strings);
    }
}

} // namespace tavrel
