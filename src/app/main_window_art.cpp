// The main window's side of ANSI art: the drawn screen shown in its own colours and read-only,
// and what typing into it says.
#include "app/main_window.h"

#include "app/notice_bar.h"
#include "app/viewer_setup.h"
#include "editor/ansi_colour_runs.h"
#include "editor/qt/text_editor.h"

#include <utility>

namespace tavrel {

namespace {

constexpr int kAnsiReadOnlyText = 551;

} // namespace

void MainWindow::setArt(ArtFile art) {
    art_ = std::move(art);
    std::unique_ptr<AnsiColourRuns> colours =
        art_.isAnsi() ? std::make_unique<AnsiColourRuns>(art_.screen) : nullptr;
    applyAnsiColours(*editor_, colours.get(), options_);
    // The old runs go only now that the editor paints with the new ones.
    ansiColours_ = std::move(colours);
    // Its text is the drawn screen, not the file's bytes: an edit could not be saved as the
    // art it came from.
    editor_->setReadOnly(art_.isAnsi());
}

HighlightSource* MainWindow::ansiColours() const noexcept {
    return ansiColours_.get();
}

void MainWindow::noticeAnsiReadOnly() {
    if (!art_.isAnsi() || isLoading()) {
        return; // a load in progress holds the editor read-only for reasons of its own
    }
    notice_->showNotice(langText(kAnsiReadOnlyText,
                                 QStringLiteral("This ANSI art is shown as it is drawn and cannot "
                                                "be edited; File > Encoding > Plain text shows "
                                                "its bytes for editing.")));
}

} // namespace tavrel
