// The start-up questions about interrupted saves, through the window's one message box.
#include "app/interrupted_save_report.h"
#include "platform/qt_file_names.h"

#include "app/message_box.h"
#include "app/startup.h"
#include "app/window_dialogs.h"
#include "lang/qt/translator.h"
#include "platform/interrupted_save.h"

#include <QFile>

namespace tavrel {

namespace {

// A name as bytes, shown as the message box shows every file name.
QString shownName(const std::string& path) {
    return platform::qtFileName(path);
}

} // namespace

void reportInterruptedSaves(QWidget* parent, WindowDialogs& dialogs, const LanguageStrings& strings,
                            const std::string& settingsFolder) {
    const QString caption = QString::fromLatin1(kApplicationTitle);
    for (const platform::InterruptedSave& save : platform::findInterruptedSaves(settingsFolder)) {
        const QString question = langText(
            strings, kInterruptedSaveText,
            QStringLiteral("Saving the first file below was cut off before it was complete; it "
                           "may hold part of its new text and part of its old one. Its old text "
                           "was kept in the second file below. Do you want to put the old text "
                           "back?"));
        const QString names =
            shownName(save.note.target) + QLatin1Char('\n') + shownName(save.note.oldText);
        if (!dialogs.confirm(parent, caption, question, names)) {
            dialogs.showPlain(
                parent, caption,
                langText(strings, kOldTextKeptText,
                         QStringLiteral("The old text stays in the file below. The program asks "
                                        "again at its next start; delete that file when you no "
                                        "longer need it.")),
                shownName(save.note.oldText));
            continue;
        }
        const WriteStatus restored = platform::restoreInterruptedSave(save);
        if (!restored.ok()) {
            dialogs.showError(parent, langText(strings, 102),
                              langText(strings, kOldTextNotRestoredText,
                                       QStringLiteral("The old text could not be put back. It "
                                                      "stays in the file below.")),
                              fileReasonText(save.note.oldText, restored.error));
        }
    }
}

} // namespace tavrel
