// Catching allocation failures where every command begins: in the delivery of its event.
#include "app/guarded_application.h"

#include <QEvent>

#include <cstdio>
#include <new>

namespace tavrel {

bool deliverGuarded(QEvent* event, const std::function<bool()>& deliver,
                    const std::function<void()>& report) {
    static bool reporting = false; // the box of one failure is up; no box on a box
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
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
        } catch (const std::bad_alloc&) {
            std::fputs("tavrel: not enough memory for a command; the text was kept\n", stderr);
        }
        reporting = false;
        return false;
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    return deliverGuarded(
        event, [&] { return QApplication::notify(receiver, event); }, onOutOfMemory);
}

} // namespace tavrel
