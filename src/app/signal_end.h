// How the viewer ends when a signal asks it to (log-out, Ctrl+C, the terminal closing): the
// window closes as if the user closed it, asking about unsaved text as usual. A second
// signal while a question or another dialog is open does not wait for an answer that may
// never come: it keeps the text in a recovery file beside the settings (or in the user's own
// state folder) and ends at once.
#pragma once

namespace tavrel {

class MainWindow;

void endOnTerminationSignals(MainWindow& window);

// The text of the window, if it was changed, written to a new recovery file in its settings
// folder, or in the user's own state folder when that fails; says where on standard error.
// Answers whether nothing was lost.
bool keepTextForRecovery(MainWindow& window);

} // namespace tavrel
