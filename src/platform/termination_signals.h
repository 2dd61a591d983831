// The signals that ask the program to end: SIGTERM at log-out or from a process manager,
// SIGINT from a terminal and SIGHUP when the terminal closes. Each one reaches the event loop
// as a call, so that the program ends in order (closing its window, saving its settings)
// instead of being killed with unsaved text.
#pragma once

#include <functional>

class QObject;

namespace tavrel::platform {

// Installs the signal handlers once per process; from then on every such signal calls
// `handler` on the event loop of context's thread, once per signal, also while a dialog's
// own loop runs. A signal the process was started to ignore (SIGHUP under nohup, SIGINT
// in a background job) stays ignored. Does nothing on systems without these signals.
void onTerminationSignals(QObject& context, std::function<void()> handler);

} // namespace tavrel::platform
