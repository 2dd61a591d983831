// Help > Contents: the help shipped with the program, shown in a window of its own at its
// table of contents.
#pragma once

#include <QString>

#include <string>

class QWidget;

namespace tavrel {

// The help's first page beside the program ("help/index.html") or in an installation's data
// folder ("../share/tavrel/help/index.html"); empty when there is none.
[[nodiscard]] QString helpIndex(const std::string& programFolder);

// Shows the help window (one per main window, created on first use); does nothing when the
// help is missing, as a help command that cannot open its target always has.
void showHelp(QWidget* owner, const std::string& programFolder);

} // namespace tavrel
