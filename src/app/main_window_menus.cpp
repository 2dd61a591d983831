// The main window's menus at work: what each item runs, which items are enabled when a menu
// opens, and the option items of the Options menu whose effects exist.
#include "app/main_window.h"

#include "app/button_bar.h"
#include "editor/qt/line_gutter.h"
#include "editor/qt/text_editor.h"
#include "platform/paths.h"
#include "textcmd/edit_commands.h"
#include "textcmd/format_commands.h"
#include "textcmd/qt/system_date_time.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>

namespace tavrel {

namespace {

[[nodiscard]] bool clipboardHasText() {
    const QClipboard* clipboard = QApplication::clipboard();
    return clipboard != nullptr && !clipboard->text().isEmpty();
}

} // namespace

// A main-menu shortcut acts as if its menu had been opened: the item runs only when the
// state that opening computes would enable it. Between openings the items stay enabled so
// that their shortcuts reach this check at all.
void MainWindow::guard(QAction* action, std::function<bool()> condition,
                       std::function<void()> run) {
    guarded_.push_back({action, condition});
    connect(action, &QAction::triggered, this,
            [condition = std::move(condition), run = std::move(run)] {
                if (condition()) {
                    run();
                }
            });
}

void MainWindow::reenableGuardedItems() {
    for (const Guarded& item : guarded_) {
        item.action->setEnabled(true);
    }
}

void MainWindow::connectCommands() {
    TextEngine& engine = m_->engine();
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this, std::forward<decltype(run)>(run));
    };

    // File
    guard(
        menus_.action("New1"), [this] { return m_->engine().charCount() > 0; },
        [this] { newDocument(); });
    on("Open1", [this] { open(); });
    guard(
        menus_.action("Save1"), [this] { return modified_ && !fileName_.empty(); },
        [this] { save(); });
    on("Saveas1", [this] { saveAs(); });
    on("Saveasgraphic1", [this] { saveAsGif(); });
    on("Saveaspng1", [this] { saveAsPng(); });
    on("Print1", [this] { print(); });
    on("PrintPreview1", [this] { printPreview(); });
    guard(
        menus_.action("Properties1"), [this] { return platform::isFile(fileName_); },
        [this] { showProperties(); });
    on("Exit1", [this] { close(); });

    // Edit
    guard(
        menus_.action("Undo1"), [&engine] { return engine.canUndo(); }, [this] { m_->undo(); });
    guard(
        menus_.action("Redo1"), [&engine] { return engine.canRedo(); }, [this] { m_->redo(); });
    on("Deleteline1", [&engine] { deleteLine(engine); });
    guard(
        menus_.action("Cut1"), [&engine] { return engine.selLength() != 0; },
        [this] { m_->cutToClipboard(); });
    guard(
        menus_.action("Copy1"), [&engine] { return engine.selLength() != 0; },
        [this] { copySelection(); });
    guard(
        menus_.action("Paste1"), [] { return clipboardHasText(); },
        [this] { m_->pasteFromClipboard(); });
    on("SelectAll1", [&engine] { engine.selectAll(); });
    on("TimeDate1", [&engine] { insertDateTime(engine, currentDateTimeText()); });

    // Format: enabled only with a selection; they have no shortcuts.
    on("LinefeedtoWordwrap1", [&engine] { joinLines(engine); });
    on("Lowercase1", [&engine] { lowercase(engine); });
    on("Uppercase1", [&engine] { uppercase(engine); });
    on("CharsettoUTF81", [&engine] { charsetToUtf8(engine); });
    on("UTF8toCharset1", [&engine] { utf8ToCharset(engine); });

    // The popup: Cut and Copy always run; with nothing selected they do nothing.
    const auto popup = [this](const char* name, auto&& run) {
        connect(popupItems_.action(name), &QAction::triggered, this,
                std::forward<decltype(run)>(run));
    };
    popup("Undo2", [this] { m_->undo(); });
    popup("Redo2", [this] { m_->redo(); });
    popup("Cut2", [this] { m_->cutToClipboard(); });
    popup("Copy2", [this] { copySelection(); });
    popup("Paste2", [this] { m_->pasteFromClipboard(); });
    popup("SelectAll2", [&engine] { engine.selectAll(); });

    // The buttons always run their commands.
    connect(p_->copyButton(), &QPushButton::clicked, this, [this] { copySelection(); });
    connect(p_->cutButton(), &QPushButton::clicked, this, [this] { m_->cutToClipboard(); });
    connect(p_->pasteButton(), &QPushButton::clicked, this, [this] { m_->pasteFromClipboard(); });
    connect(p_->saveButton(), &QPushButton::clicked, this, [this] { save(); });
    connect(p_->exitButton(), &QPushButton::clicked, this, [this] { close(); });

    connect(m_, &TextEditor::changed, this, [this] { editorChanged(); });

    // Enabling when a menu opens.
    connect(menus_.menu("File1"), &QMenu::aboutToShow, this, [this] { updateFileMenu(); });
    connect(menus_.menu("Edit1"), &QMenu::aboutToShow, this, [this] { updateEditMenu(); });
    connect(menus_.menu("Format1"), &QMenu::aboutToShow, this, [this] { updateFormatMenu(); });
    connect(menus_.menu("Options1"), &QMenu::aboutToShow, this, [this] { updateOptionsMenu(); });
    connect(popup_, &QMenu::aboutToShow, this, [this] { updatePopupMenu(); });
    for (const char* name : {"File1", "Edit1"}) {
        connect(menus_.menu(name), &QMenu::aboutToHide, this, [this] { reenableGuardedItems(); });
    }
}

void MainWindow::updateFileMenu() {
    menus_.action("Save1")->setEnabled(modified_ && !fileName_.empty());
    menus_.action("New1")->setEnabled(m_->engine().charCount() > 0);
    menus_.action("Properties1")->setEnabled(platform::isFile(fileName_));
}

void MainWindow::updateEditMenu() {
    const EditMenuState state = editMenuState(m_->engine(), clipboardHasText());
    menus_.action("Undo1")->setEnabled(state.undo);
    menus_.action("Redo1")->setEnabled(state.redo);
    menus_.action("Cut1")->setEnabled(state.cut);
    menus_.action("Copy1")->setEnabled(state.copy);
    menus_.action("Paste1")->setEnabled(state.paste);
}

void MainWindow::updateFormatMenu() {
    const bool enabled = formatItemsEnabled(m_->engine());
    for (const char* name :
         {"LinefeedtoWordwrap1", "Lowercase1", "Uppercase1", "CharsettoUTF81", "UTF8toCharset1"}) {
        menus_.action(name)->setEnabled(enabled);
    }
}

void MainWindow::updatePopupMenu() {
    const EditMenuState state = popupMenuState(m_->engine(), clipboardHasText());
    popupItems_.action("Undo2")->setEnabled(state.undo);
    popupItems_.action("Redo2")->setEnabled(state.redo);
    popupItems_.action("Paste2")->setEnabled(state.paste);
}

// --- Options ----------------------------------------------------------------------------------

namespace {

// The option items whose whole effect is a flag read later (on load, on save, on close).
struct FlagItem {
    const char* name;
    bool AppSettings::*flag;
};
constexpr FlagItem kFlagItems[] = {
    {"Askforchangesonexit1", &AppSettings::askChanges},
    {"ConvertUnixfiles1", &AppSettings::convert},
    {"Setwidthaccordingtowidestlinelengthonload1", &AppSettings::autoWidth},
    {"Setheightaccordingtonumberoflines1", &AppSettings::autoHeight},
    {"Copyeveryselectiontoclipboard1", &AppSettings::selectCopy},
    {"Trimcutcopy1", &AppSettings::trim},
};

} // namespace

void MainWindow::connectOptions() {
    for (const FlagItem& item : kFlagItems) {
        connect(menus_.action(item.name), &QAction::triggered, this,
                [this, flag = item.flag] { options_.*flag = !(options_.*flag); });
    }
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this, std::forward<decltype(run)>(run));
    };
    on("DragDrop1", [this] {
        options_.dragDrop = !options_.dragDrop;
        applyDragDrop();
    });
    on("Showlinenumbers1", [this] {
        options_.lineNumbers = !options_.lineNumbers;
        g_->setVisible(options_.lineNumbers);
    });
    on("Showspacestabs1", [this] {
        options_.spaces = !options_.spaces;
        m_->setShowNonPrintChars(options_.spaces ? npSpace | npTab | npReturn : 0);
    });
    on("Wordwrap1", [this] {
        m_->setWordWrap(!m_->wordWrap());
        options_.wordWrap = m_->wordWrap();
    });
    on("AllowonlyoneTavrelinstance1", [this] {
        options_.oneInstance = !options_.oneInstance;
        startupState().oneInstance = options_.oneInstance;
        // The next start reads it before any window exists, so it is written at once.
        if (setup_.settings != nullptr) {
            saveSettingsAtClose(*setup_.settings, messageBoxReporter(this),
                                [this](ConfigSaver& settings) { writeSettings(settings); });
        }
    });
    on("AlwaysonTop1", [this] {
        options_.onTop = !options_.onTop;
        applyOnTop();
    });
    on("Exitbutton1", [this] { options_.exitFocus = true; });
    on("Textfield1", [this] { options_.exitFocus = false; });
    on("Samewindowforallfiletypes1", [this] { options_.sameDim = true; });
    on("Individualdimensions1", [this] { options_.sameDim = false; });
    connect(menus_.menu("InitialFocus1"), &QMenu::aboutToShow, this, [this] {
        menus_.action(options_.exitFocus ? "Exitbutton1" : "Textfield1")->setChecked(true);
    });
    connect(menus_.menu("Windowdimensions1"), &QMenu::aboutToShow, this, [this] {
        menus_.action(options_.sameDim ? "Samewindowforallfiletypes1" : "Individualdimensions1")
            ->setChecked(true);
    });
}

void MainWindow::updateOptionsMenu() {
    const auto check = [this](const char* name, bool on) { menus_.action(name)->setChecked(on); };
    for (const FlagItem& item : kFlagItems) {
        check(item.name, options_.*item.flag);
    }
    check("AllowonlyoneTavrelinstance1", options_.oneInstance);
    check("Highlightkeywords1", options_.highLight);
    check("LaunchURLs1", options_.launch);
    check("Showspacestabs1", options_.spaces);
    check("Wordwrap1", m_->wordWrap());
    check("AlwaysonTop1", options_.onTop);
    check("Showlinenumbers1", options_.lineNumbers);
    check("DragDrop1", options_.dragDrop);
}

} // namespace tavrel
