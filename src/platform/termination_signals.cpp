// The self-pipe pattern: the signal handler only writes one byte to a socket pair (safe in
// a handler); a QSocketNotifier wakes the event loop, which closes the window.
#include "platform/termination_signals.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tavrel::platform {

#ifndef _WIN32

namespace {

int signalSockets[2] = {-1, -1}; // [0] written by the handler, [1] read by the event loop

void onTerminationSignal(int /*signal*/) {
    const int savedErrno = errno;
    const char byte = 1;
    // A full socket already holds a pending wake-up, so a failed write loses nothing.
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void closeOnTerminationSignals(QWidget& window) {
    if (signalSockets[0] >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
        signalSockets[0] = signalSockets[1] = -1;
        return; // the signals keep their default effect
    }
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &window);
    QPointer<QWidget> target(&window);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [target] {
        char bytes[16];
        while (::read(signalSockets[1], bytes, sizeof bytes) > 0) {
        }
        if (target != nullptr) {
            target->close();
        }
    });

    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

#else

void closeOnTerminationSignals(QWidget& /*window*/) {}

#endif

} // namespace tavrel::platform
