// Reporting a handler that ran out of memory from the event loop, once.
#include "platform/command_guard.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace tavrel::platform {

namespace {

struct ReportState {
    std::function<void()> report;
    bool waiting = false; // posted, not yet run
    bool showing = false; // running: its message box has an event loop of its own
};

ReportState& state() {
    static ReportState s;
    return s;
}

void sayOnStandardError() noexcept {
    std::fputs("tavrel: not enough memory for a command; the text was kept\n", stderr);
}

} // namespace

void setOutOfMemoryReport(std::function<void()> report) {
    state().report = std::move(report);
}

void reportOutOfMemory() noexcept {
    ReportState& s = state();
    if (s.waiting) {
        return; // the report on its way covers this failure too
    }
    if (s.showing || !s.report || QCoreApplication::instance() == nullptr) {
        sayOnStandardError();
        return;
    }
    try {
        QTimer::singleShot(0, QCoreApplication::instance(), [] {
            ReportState& now = state();
            now.waiting = false;
            now.showing = true;
            try {
                now.report();
            } catch (...) { // the box itself could not be shown
                sayOnStandardError();
            }
            now.showing = false;
        });
        s.waiting = true;
    } catch (...) { // not even the timer could be had
        sayOnStandardError();
    }
}

} // namespace tavrel::platform
