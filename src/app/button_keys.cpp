// Hands the reading keys pressed on a button to the text, as if the text had the focus; the
// focus itself stays on the button, so Space and Enter still press it.
#include "app/button_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace tavrel {

bool isReadingKey(const QKeyEvent& event) {
    // The keypad's keys carry a modifier of their own with Num Lock off.
    const Qt::KeyboardModifiers others =
        event.modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier) {
        return false;
    }
    switch (event.key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

ReadingKeysToText::ReadingKeysToText(QWidget* text, QObject* parent)
    : QObject(parent), text_(text) {}

void ReadingKeysToText::watch(QWidget* button) {
    button->installEventFilter(this);
}

bool ReadingKeysToText::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isReadingKey(*static_cast<QKeyEvent*>(event)) ||
        !text_->isEnabled()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                   key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                   key->isAutoRepeat(), static_cast<quint16>(key->count()));
    QCoreApplication::sendEvent(text_, &copy);
    return true;
}

} // namespace tavrel
