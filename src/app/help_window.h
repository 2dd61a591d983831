// Help > Contents (and F1): the help shipped with the program in the language of the menus,
// shown in a window of its own at its table of contents.
#pragma once

#include <QString>

#include <string>

class QWidget;

namespace tavrel {

// The help's first page beside the program ("help/index.html") or in an installation's data
// folder ("../share/tavrel/help/index.html"); a language with a help of its own has it in a
// folder named as its language file ("help/German/index.html"), and any other reads the
// English one. Empty when there is none.
[[nodiscard]] QString helpIndex(const std::string& programFolder, const std::string& language = {});

// Shows the help window in `language` (one per main window, created on first use); does
// nothing when the help is missing, as a help command that cannot open its target always has.
void showHelp(QWidget* owner, const std::string& programFolder, const std::string& language);

} // namespace tavrel
