// The main window's menus at work: what each item runs, which items are enabled when a menu
// opens, and the option items of the Options menu whose effects exist.
#include "app/main_window.h"

#include "app/button_bar.h"
#include "app/item_enabling.h"
#include "editor/qt/line_gutter.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"
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
// rule that opening applies enables it. Between openings the items stay enabled so that
// their shortcuts reach this check at all.
void MainWindow::guard(const char* item, ItemGroup group, std::function<void()> run) {
    QAction* action = menus_.action(item);
    guarded_.push_back(action);
    connect(action, &QAction::triggered, this,
            platform::guardedSlot([this, item = std::string(item), group, run = std::move(run)] {
                if (isItemEnabled(itemEnabling(editor_->engine(), enablingState(group)), item)) {
                    run();
                } else if (isLoading()) {
                    noticeStillLoading(); // a shortcut that does nothing says why
                }
            }));
}

void MainWindow::reenableGuardedItems() {
    for (QAction* action : guarded_) {
        action->setEnabled(true);
    }
}

WindowState MainWindow::enablingState(ItemGroup group) const {
    WindowState state;
    state.modified = modified_;
    state.named = !fileName_.empty();
    state.nameIsFile = group == ItemGroup::FileMenu && platform::isFile(fileName_);
    state.clipboardHasText =
        (group == ItemGroup::EditMenu || group == ItemGroup::Popup) && clipboardHasText();
    state.findNextOffered = find_ != nullptr && finder().nextEnabled();
    state.findPreviousOffered = find_ != nullptr && finder().previousEnabled();
    state.recentFiles = !recent_.empty();
    state.loading = isLoading();
    state.artDrawn = art_.isAnsi();
    return state;
}

void MainWindow::applyEnabling(ItemGroup group) {
    for (const ItemEnabling& row : itemEnabling(editor_->engine(), enablingState(group))) {
        if (row.group != group) {
            continue;
        }
        const std::string item(row.item);
        if (item == "buttonsave") {
            buttonBar_->saveButton()->setEnabled(row.enabled);
        } else if (item == "buttoncut") {
            buttonBar_->cutButton()->setEnabled(row.enabled);
        } else if (item == "buttonpaste") {
            buttonBar_->pasteButton()->setEnabled(row.enabled);
        } else if (item == "file_recentfiles") {
            menus_.menu(item)->setEnabled(row.enabled);
        } else if (group == ItemGroup::Popup) {
            popupItems_.action(item)->setEnabled(row.enabled);
        } else {
            menus_.action(item)->setEnabled(row.enabled);
        }
    }
}

void MainWindow::connectCommands() {
    TextEngine& engine = editor_->engine();
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };

    // File
    guard("New1", ItemGroup::FileMenu, [this] { newDocument(); });
    on("Open1", [this] { open(); });
    guard("Save1", ItemGroup::FileMenu, [this] { save(); });
    guard("Saveas1", ItemGroup::FileMenu, [this] { saveAs(); });
    on("Saveasgraphic1", [this] { saveAsGif(); });
    on("Saveaspng1", [this] { saveAsPng(); });
    on("Print1", [this] { print(); });
    on("PrintPreview1", [this] { printPreview(); });
    guard("Properties1", ItemGroup::FileMenu, [this] { showProperties(); });
    on("Exit1", [this] { close(); });

    // Edit
    guard("Undo1", ItemGroup::EditMenu, [this] { editor_->undo(); });
    guard("Redo1", ItemGroup::EditMenu, [this] { editor_->redo(); });
    guard("Deleteline1", ItemGroup::EditMenu, [&engine] { deleteLine(engine); });
    guard("Cut1", ItemGroup::EditMenu, [this] { editor_->cutToClipboard(); });
    guard("Copy1", ItemGroup::EditMenu, [this] { copySelection(); });
    guard("Paste1", ItemGroup::EditMenu, [this] { editor_->pasteFromClipboard(); });
    on("SelectAll1", [&engine] { engine.selectAll(); });
    guard("TimeDate1", ItemGroup::EditMenu,
          [&engine] { insertDateTime(engine, currentDateTimeText()); });

    // Format: enabled only with a selection.
    guard("LinefeedtoWordwrap1", ItemGroup::FormatMenu, [&engine] { joinLines(engine); });
    guard("Lowercase1", ItemGroup::FormatMenu, [&engine] { lowercase(engine); });
    guard("Uppercase1", ItemGroup::FormatMenu, [&engine] { uppercase(engine); });
    guard("CharsettoUTF81", ItemGroup::FormatMenu, [&engine] { charsetToUtf8(engine); });
    guard("UTF8toCharset1", ItemGroup::FormatMenu, [&engine] { utf8ToCharset(engine); });

    // The popup: Copy always runs; with nothing selected it does nothing.
    const auto popup = [this](const char* name, auto&& run) {
        connect(popupItems_.action(name), &QAction::triggered, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };
    popup("Undo2", [this] { editor_->undo(); });
    popup("Redo2", [this] { editor_->redo(); });
    popup("Cut2", [this] { editor_->cutToClipboard(); });
    popup("Copy2", [this] { copySelection(); });
    popup("Paste2", [this] { editor_->pasteFromClipboard(); });
    popup("SelectAll2", [&engine] { engine.selectAll(); });

    // The buttons run their commands whenever they are enabled (Cut, Paste and Save follow
    // the window's rows).
    const auto button = [this](QPushButton* pressed, auto&& run) {
        connect(pressed, &QPushButton::clicked, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };
    button(buttonBar_->copyButton(), [this] { copySelection(); });
    button(buttonBar_->cutButton(), [this] { editor_->cutToClipboard(); });
    button(buttonBar_->pasteButton(), [this] { editor_->pasteFromClipboard(); });
    button(buttonBar_->saveButton(), [this] { save(); });
    button(buttonBar_->exitButton(), [this] { close(); });

    connect(editor_, &TextEditor::changed, this, [this] { editorChanged(); });
    connect(editor_, &TextEditor::typingRefused, this,
            [this](const QString& characters) { noticeTypingRefused(characters); });
    connect(editor_, &TextEditor::typedWhileReadOnly, this, [this] { noticeAnsiReadOnly(); });

    // Enabling when a menu opens.
    const auto applyOnOpening = [this](QMenu* menu, ItemGroup group) {
        connect(menu, &QMenu::aboutToShow, this,
                platform::guardedSlot([this, group] { applyEnabling(group); }));
    };
    applyOnOpening(menus_.menu("File1"), ItemGroup::FileMenu);
    applyOnOpening(menus_.menu("Edit1"), ItemGroup::EditMenu);
    applyOnOpening(menus_.menu("Format1"), ItemGroup::FormatMenu);
    applyOnOpening(popup_, ItemGroup::Popup);
    connect(menus_.menu("Options1"), &QMenu::aboutToShow, this,
            platform::guardedSlot([this] { updateOptionsMenu(); }));
    for (const char* name : {"File1", "Edit1"}) {
        connect(menus_.menu(name), &QMenu::aboutToHide, this, [this] { reenableGuardedItems(); });
    }
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

// The Encoding submenu, in the order of EncodingChoice.
constexpr const char* kEncodingItems[] = {"EncodingAutomatic1",   "EncodingCp4371",
                                          "EncodingWindows12521", "EncodingUtf81",
                                          "EncodingUtf161",       "EncodingPlain1"};

} // namespace

void MainWindow::connectOptions() {
    for (const FlagItem& item : kFlagItems) {
        connect(menus_.action(item.name), &QAction::triggered, this,
                platform::guardedSlot(
                    [this, flag = item.flag] { options_.*flag = !(options_.*flag); }));
    }
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };
    on("DragDrop1", [this] {
        options_.dragDrop = !options_.dragDrop;
        applyDragDrop();
    });
    on("Showlinenumbers1", [this] {
        options_.lineNumbers = !options_.lineNumbers;
        gutter_->setVisible(options_.lineNumbers);
    });
    on("Showspacestabs1", [this] {
        options_.spaces = !options_.spaces;
        editor_->setShowNonPrintChars(options_.spaces ? npSpace | npTab | npReturn : 0);
    });
    on("Wordwrap1", [this] {
        editor_->setWordWrap(!editor_->wordWrap());
        options_.wordWrap = editor_->wordWrap();
    });
    on("AllowonlyoneTavrelinstance1", [this] {
        options_.oneInstance = !options_.oneInstance;
        startupState().oneInstance = options_.oneInstance;
        // Turned off, a lock this window holds stays held, as it does from start-up on: a
        // later start then opens its own window because it reads the option, not the lock.
        if (options_.oneInstance) {
            takeFreeInstanceLock(); // listening before a later start can read the option
        }
        // The next start reads it before any window exists, so it is written at once.
        if (setup_.settings != nullptr) {
            saveSettingsAtClose(*setup_.settings, messageBoxReporter(this),
                                [this](ConfigSaver& settings) { writeSettings(settings); });
        }
    });
    on("CopyUnicode1", [this] {
        options_.copyUnicode = !options_.copyUnicode;
        editor_->setCopyGlyphs(options_.copyUnicode);
    });
    for (std::size_t i = 0; i < std::size(kEncodingItems); ++i) {
        on(kEncodingItems[i], [this, i] { chooseEncoding(static_cast<EncodingChoice>(i)); });
    }
    connect(
        menus_.menu("Encoding1"), &QMenu::aboutToShow, this, platform::guardedSlot([this] {
            menus_
                .action(
                    kEncodingItems[static_cast<std::size_t>(encodingChoiceOf(options_.encoding))])
                ->setChecked(true);
        }));
    on("AlwaysonTop1", [this] {
        options_.onTop = !options_.onTop;
        applyOnTop();
    });
    on("Exitbutton1", [this] { options_.exitFocus = true; });
    on("Textfield1", [this] { options_.exitFocus = false; });
    on("Samewindowforallfiletypes1", [this] { options_.sameDim = true; });
    on("Individualdimensions1", [this] { options_.sameDim = false; });
    connect(menus_.menu("InitialFocus1"), &QMenu::aboutToShow, this, platform::guardedSlot([this] {
                menus_.action(options_.exitFocus ? "Exitbutton1" : "Textfield1")->setChecked(true);
            }));
    connect(
        menus_.menu("Windowdimensions1"), &QMenu::aboutToShow, this, platform::guardedSlot([this] {
            menus_
                .action(options_.sameDim ? "Samewindowforallfiletypes1" : "Individualdimensions1")
                ->setChecked(true);
        }));
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
    check("Wordwrap1", editor_->wordWrap());
    check("AlwaysonTop1", options_.onTop);
    check("Showlinenumbers1", options_.lineNumbers);
    check("DragDrop1", options_.dragDrop);
    check("CopyUnicode1", options_.copyUnicode);
}

} // namespace tavrel
