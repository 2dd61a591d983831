// Lending an export's editor ANSI art's colours for one file.
#include "app/art_look.h"

#include "app/viewer_setup.h"
#include "editor/ansi_colour_runs.h"

namespace tavrel {

ArtLook::ArtLook(TextEditor& editor, const ArtFile& art, const AppSettings& settings)
    : editor_(editor), settings_(settings),
      colours_(art.isAnsi() ? std::make_unique<AnsiColourRuns>(art.screen) : nullptr) {
    if (colours_) {
        applyAnsiColours(editor_, colours_.get(), settings_);
    }
}

ArtLook::~ArtLook() {
    if (colours_) {
        applyAnsiColours(editor_, nullptr, settings_);
    }
}

HighlightSource* ArtLook::colours() const noexcept {
    return colours_.get();
}

} // namespace tavrel
