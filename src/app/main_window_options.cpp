// The Options menu's colour and font commands and the Help menu: contents, web pages, the
// uninstaller and the About box.
#include "app/main_window.h"

#include "app/about_box.h"
#include "app/help_window.h"
#include "app/version.h"
#include "app/viewer_setup.h"
#include "editor/qt/line_gutter.h"
#include "editor/qt/text_editor.h"
#include "platform/command_guard.h"
#include "platform/desktop.h"
#include "platform/qt_look.h"

#include <QAction>

namespace tavrel {

namespace {

// The language text shown when the uninstaller beside the program could not be started.
constexpr int kUninstallFailedText = 470;

} // namespace

void MainWindow::connectAuxiliaryCommands() {
    if (setup_.optionDialogs == nullptr) {
        ownOptionDialogs_ = std::make_unique<QtOptionDialogs>();
        setup_.optionDialogs = ownOptionDialogs_.get();
    }
    const auto on = [this](const char* name, auto&& run) {
        connect(menus_.action(name), &QAction::triggered, this,
                platform::guardedSlot(std::forward<decltype(run)>(run)));
    };
    on("Setcolor1", [this] { chooseBackgroundColor(); });
    on("SetFont1", [this] { chooseEditorFont(); });
    on("SetPrintFont1", [this] { choosePrintFont(); });
    on("SetHighlightColor1", [this] { chooseHighlightColor(options_.highlightColor); });
    on("SetHighlightBackgroundColor1",
       [this] { chooseHighlightColor(options_.highlightBackground); });
    on("Contents1", [this] { showHelp(this, setup_.locations.programFolder, options_.language); });
    on("UninstallTavrel1", [this] { uninstall(); });
    on("About1", [this] { showAbout(); });

    // Items whose target this build or installation does not have are hidden rather than
    // opening nothing.
    const auto web = [this, &on](const char* name, const char* address) {
        menus_.action(name)->setVisible(*address != '\0');
        on(name, [this, address] { [[maybe_unused]] const bool opened = openAddress(address); });
    };
    web("Lookfornewversion1", kUpdateUrl);
    web("OtherVelmanticSoftware1", kOtherSoftwareUrl);
    menus_.action("UninstallTavrel1")
        ->setVisible(!platform::uninstallerBeside(setup_.locations.programFolder).empty());
}

bool MainWindow::openAddress(const std::string& address) const {
    return setup_.openAddress ? setup_.openAddress(address) : platform::openWebAddress(address);
}

void MainWindow::chooseBackgroundColor() {
    if (const auto colour = setup_.optionDialogs->chooseColor(this, options_.backColor)) {
        options_.backColor = *colour;
        if (!art_.isAnsi()) { // ANSI art keeps the black of its screen
            editor_->setColor(toQColor(*colour));
        }
        gutter_->setColor(toQColor(*colour));
    }
}

void MainWindow::chooseEditorFont() {
    const auto font = setup_.optionDialogs->chooseFont(this, options_.editorFont);
    if (!font) {
        return;
    }
    options_.editorFont = *font;
    options_.wordWrap = editor_->wordWrap();
    // The one viewer set-up: font, the line height it gives and the text colour, as a load
    // and every export set them.
    applyViewerSettings(*editor_, options_);
    if (art_.isAnsi()) {
        applyAnsiColours(*editor_, ansiColours_.get(), options_);
    }
    gutter_->setTextColor(toQColor(font->color));
    measureFont();
    if (options_.autoWidth || options_.autoHeight) {
        sizeToContent();
    }
}

void MainWindow::chooseHighlightColor(Color& setting) {
    if (const auto colour = setup_.optionDialogs->chooseColor(this, setting)) {
        setting = *colour;
    }
    // Also after Cancel: the refresh reloads the keyword file and gives the colours to the
    // keywords and to the address styles.
    refreshKeywords();
}

void MainWindow::choosePrintFont() {
    // Kept for printing; the screen keeps its own font.
    if (const auto font = setup_.optionDialogs->chooseFont(this, options_.printFont)) {
        options_.printFont = *font;
        measureFont();
    }
}

void MainWindow::uninstall() {
    const std::string uninstaller = platform::uninstallerBeside(setup_.locations.programFolder);
    const bool started =
        !uninstaller.empty() && (setup_.startProgram ? setup_.startProgram(uninstaller)
                                                     : platform::startProgram(uninstaller));
    if (!started) {
        // Closing as though it had worked would leave the user with neither the program
        // nor its removal.
        dialogs().showError(this, langText(102), langText(kUninstallFailedText));
        return;
    }
    close();
}

void MainWindow::showAbout() {
    AboutBox box(this, languages_->strings(),
                 [this](const std::string& address) { return openAddress(address); });
    box.exec();
}

} // namespace tavrel
