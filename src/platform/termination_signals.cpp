// The self-pipe pattern: the signal handler only writes one byte to a socket pair (safe in
// a handler); a QSocketNotifier wakes the event loop, which takes one byte per wake-up and
// calls the handler once for it.
#include "platform/termination_signals.h"

#include <QObject>
#include <QSocketNotifier>

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
    // A full socket already holds plenty of pending wake-ups, so a failed write loses
    // nothing that matters.
    [[maybe_unused]] const auto written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

void catchUnlessIgnored(int signal) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        return; // started with the signal ignored on purpose
    }
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

void onTerminationSignals(QObject& context, std::function<void()> handler) {
    if (signalSockets[0] >= 0) {
        return;
    }
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalSockets) != 0) {
        signalSockets[0] = signalSockets[1] = -1;
        return; // the signals keep their default effect
    }
    auto* notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, &context);
    // One byte per activation: a second signal that arrives while the handler waits in a
    // dialog wakes the dialog's loop and gets its own call there.
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [handler = std::move(handler)] {
                         char byte = 0;
                         if (::read(signalSockets[1], &byte, 1) == 1) {
                             handler();
                         }
                     });
    catchUnlessIgnored(SIGTERM);
    catchUnlessIgnored(SIGINT);
    catchUnlessIgnored(SIGHUP);
}

#else

void onTerminationSignals(QObject& /*context*/, std::function<void()> /*handler*/) {}

#endif

} // namespace tavrel::platform
