// Find and replace as a part of the main window: the finder and its modeless dialog, the
// repeat items F3 and Ctrl+F3, and the Edit shortcuts the open dialog takes away.
#pragma once

#include "textcmd/find_replace.h"

#include <QKeySequence>
#include <QObject>
#include <QPoint>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QWidget;

namespace tavrel {

class FindDialog;
class TextEditor;

class FindSession final : public QObject {
    Q_OBJECT

public:
    // What the part asks of the window around it.
    struct Hooks {
        // True when the document may not change now (a load runs, a drawn view), after
        // saying why.
        std::function<bool()> refuseChange;
        std::function<void()> notFound;        // the not-found message
        std::function<void()> itemsChanged;    // F3's caption or an enabled state may differ
        std::function<QPoint()> storedPlace;   // where the dialog is shown
        std::function<void(QPoint)> keepPlace; // where the user left it
    };

    // `shortcutItems`: the Edit items whose keys edit the dialog's fields while it is open.
    FindSession(TextEditor& editor, QWidget* dialogParent, std::vector<QAction*> shortcutItems,
                Hooks hooks);
    ~FindSession() override;

    void show(); // Find/Replace...
    // Puts the dialog, shown or not, at the stored place.
    void placeDialog();
    void repeat(bool backwards); // Find/Replace Next, Find Previous
    // The open dialog's place goes to keepPlace, as when the user closes it.
    void keepOpenDialogPlace();

    [[nodiscard]] FindDialog& dialog() const noexcept { return *dialog_; }
    [[nodiscard]] FindReplace& finder() const noexcept { return *finder_; }

private:
    void connectDialog();
    void finish(FindOutcome outcome);
    void keepPlace();
    void takeShortcuts();
    void giveBackShortcuts();

    TextEditor& editor_;
    Hooks hooks_;
    std::unique_ptr<FindReplace> finder_;
    FindDialog* dialog_ = nullptr; // owned by its parent window
    std::vector<QAction*> shortcutItems_;
    // The keys taken from shortcutItems_ while the dialog is open, to give back.
    std::vector<std::pair<QAction*, QKeySequence>> takenShortcuts_;
};

} // namespace tavrel
