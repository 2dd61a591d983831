// Tells at start-up of saves that a crash cut while they wrote over a file's own bytes, and
// offers each file's old text back.
#pragma once

#include <string>

class QWidget;

namespace tavrel {

class LanguageStrings;
class WindowDialogs;

// Language texts of these messages: the question, the answer No, a restore that failed.
inline constexpr int kInterruptedSaveText = 422;
inline constexpr int kOldTextKeptText = 423;
inline constexpr int kOldTextNotRestoredText = 424;

// For each interrupted save noted in the settings folder: names the file and the copy of its
// old text and asks whether to put that text back. Yes restores it (or says why it could not);
// No, the default, which loses nothing, leaves the copy where it is and says so, and the
// question comes again at the next start until the copy is put back or deleted.
void reportInterruptedSaves(QWidget* parent, WindowDialogs& dialogs, const LanguageStrings& strings,
                            const std::string& settingsFolder);

} // namespace tavrel
