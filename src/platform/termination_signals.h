// Ending the program in an orderly way when it is asked to (SIGTERM at log-out or from a
// process manager, SIGINT from a terminal): the window is closed exactly as if the user had
// closed it, so its close handling, saving the settings included, runs.
#pragma once

class QWidget;

namespace tavrel::platform {

// Installs the signal handlers once per process; a signal then makes the event loop call
// window.close(). Does nothing on systems without these signals.
void closeOnTerminationSignals(QWidget& window);

} // namespace tavrel::platform
