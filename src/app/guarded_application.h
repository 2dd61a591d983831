// The viewer's application object: every event is handled inside a handler for running out
// of memory, so that a command (a key, a menu item, a drop, a timer's work) that cannot get
// the memory it needs fails alone and is reported, and the program goes on with the text.
#pragma once

#include <QApplication>

#include <functional>
#include <new>

class QEvent;

namespace tavrel {

// After a delivery ran out of memory: a close is refused (its save question may not have
// been answered, its save not made), `report` says so unless a report is already on
// screen. Answers false, the event not handled.
bool outOfMemoryInDelivery(QEvent* event, const std::function<void()>& report) noexcept;

// Runs `deliver` (called for every event, so nothing is allocated on the way) and handles
// running out of memory in it as above.
template <typename Deliver>
bool deliverGuarded(QEvent* event, Deliver&& deliver, const std::function<void()>& report) {
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
        return outOfMemoryInDelivery(event, report);
    }
}

class GuardedApplication final : public QApplication {
    Q_OBJECT

public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

    // Tells the user; the main window sets it once it exists.
    std::function<void()> onOutOfMemory;
};

} // namespace tavrel
