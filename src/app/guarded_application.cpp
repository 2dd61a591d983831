// Catching allocation failures where every command begins: in the delivery of its event.
#include "app/guarded_application.h"

#include <QEvent>

#include <cstdio>

namespace tavrel {

bool outOfMemoryInDelivery(QEvent* event, const std::function<void()>& report) noexcept {
    static bool reporting = false; // the box of one failure is up; no box on a box
    if (event != nullptr && event->type() == QEvent::Close) {
        event->ignore();
    }
    if (reporting || !report) {
        std::fputs("tavrel: not enough memory for a command; the text was kept\n", stderr);
        return false;
    }
    reporting = true;
    try {
        report();
    } catch (...) { // the box itself could not be shown
        std::fputs("tavrel: not enough memory for a command; the text was kept\n", stderr);
    }
    reporting = false;
    return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    return deliverGuarded(
        event, [&] { return QApplication::notify(receiver, event); }, onOutOfMemory);
}

} // namespace tavrel
