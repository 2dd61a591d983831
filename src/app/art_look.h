// ANSI art's colours on an export's editor for one file: set when the file is ANSI art, and
// the settings' look back when the next file comes, so that an export paints what the
// window shows.
#pragma once

#include "app/art_file.h"

#include <memory>

namespace tavrel {

class AnsiColourRuns;
class HighlightSource;
class TextEditor;
struct AppSettings;

class ArtLook {
public:
    ArtLook(TextEditor& editor, const ArtFile& art, const AppSettings& settings);
    ~ArtLook();
    ArtLook(const ArtLook&) = delete; // the editor paints with the runs it owns
    ArtLook& operator=(const ArtLook&) = delete;

    // The cells' colours for a printer; null for a file that is not ANSI art.
    [[nodiscard]] HighlightSource* colours() const noexcept;

private:
    TextEditor& editor_;
    const AppSettings& settings_;
    std::unique_ptr<AnsiColourRuns> colours_;
};

} // namespace tavrel
