// The viewer's application object: every event is handled inside a handler for running out
// of memory, so that a command (a key, a menu item, a drop, a timer's work) that cannot get
// the memory it needs fails alone and is reported, and the program goes on with the text.
#pragma once

#include <QApplication>

#include <functional>

namespace tavrel {

// The rule on its own: runs `deliver`; when it runs out of memory, a close is refused (its
// save question may not have been answered, its save not made), `report` says so unless a
// report is already on screen, and the event counts as not handled.
bool deliverGuarded(QEvent* event, const std::function<bool()>& deliver,
                    const std::function<void()>& report);

class GuardedApplication final : public QApplication {
    Q_OBJECT

public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

    // Tells the user; the main window sets it once it exists.
    std::function<void()> onOutOfMemory;
};

} // namespace tavrel
