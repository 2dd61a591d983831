// Ending the program when running out of memory escaped the handlers' guard.
#include "app/guarded_application.h"

#include <cstdio>
#include <cstdlib>

namespace tavrel {

void endForMemory(const std::function<void()>& keepText) noexcept {
    std::fputs("tavrel: not enough memory outside a command; the program ends\n", stderr);
    if (keepText) {
        try {
            keepText();
        } catch (...) { // it says on standard error what it could not keep
        }
    }
    std::fflush(stderr);
    std::_Exit(kOutOfMemoryExit);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    return deliverOrEnd([&] { return QApplication::notify(receiver, event); }, keepText);
}

} // namespace tavrel
