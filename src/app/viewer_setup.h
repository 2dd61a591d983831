// The one way an editor is made to look as the viewer looks: the window, the image exports
// and their command line all call these, so that an export cannot drift from the screen (the
// file itself is loaded by FileLoad, for all of them alike).
#pragma once

#include "text/seen_text.h"

#include <string>

namespace tavrel {

class AnsiColourRuns;
class TextEditor;
class UrlHighlighter;
struct AppSettings;

// Background, font, the line height that font gives, text colour, visible blanks and word
// wrap, as the settings say.
void applyViewerSettings(TextEditor& editor, const AppSettings& settings);

// The characters the bytes are shown as under these settings: on screen, in the image
// exports and on paper alike.
[[nodiscard]] ByteGlyphs viewerByteGlyphs(const AppSettings& settings);

// The highlighting the window gives its editor: `urls` attached while "Launch URLs on click"
// is on, the keywords of `keywordFile` while "Highlight Keywords" is on, in the highlight
// colours. `urls` must stay while the editor paints.
void applyViewerHighlighting(TextEditor& editor, UrlHighlighter& urls, const AppSettings& settings,
                             const std::string& keywordFile);

// ANSI art's look: with `colours`, each cell in its own colours on the black ground of the
// screen it was drawn for (the keyword and address highlighting give way); without, the look
// the settings give. `colours` must stay while the editor paints.
void applyAnsiColours(TextEditor& editor, AnsiColourRuns* colours, const AppSettings& settings);

} // namespace tavrel
