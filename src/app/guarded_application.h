// The viewer's application object, the last line behind the guard of the program's own
// handlers (platform/command_guard.h): running out of memory that reaches the delivery of
// an event has unwound through the toolkit's own frames, which are built without exceptions
// and skipped their clean-up, so nothing on screen can be trusted any more. The changed text
// is kept in a recovery file and the program ends.
#pragma once

#include <QApplication>

#include <functional>
#include <new>

class QEvent;

namespace tavrel {

// The exit status of a program that ran out of memory outside its guarded handlers.
inline constexpr int kOutOfMemoryExit = 3;

// Runs `keepText` (the recovery file), says so on standard error and ends the process.
[[noreturn]] void endForMemory(const std::function<void()>& keepText) noexcept;

// Runs `deliver` (called for every event, so nothing is allocated on the way); running out
// of memory in it ends the program as above.
template <typename Deliver>
bool deliverOrEnd(Deliver&& deliver, const std::function<void()>& keepText) {
    try {
        return deliver();
    } catch (const std::bad_alloc&) {
        endForMemory(keepText);
    }
}

class GuardedApplication final : public QApplication {
    Q_OBJECT

public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

    // Keeps the window's changed text; the main window sets it once it exists.
    std::function<void()> keepText;
};

} // namespace tavrel
