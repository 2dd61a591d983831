// The one way an editor is made to show a file as the viewer shows it: the window, the image
// exports and their command line all call these, so that an export cannot drift from the
// screen.
#pragma once

#include "text/seen_text.h"

#include <string>

namespace tavrel {

class AnsiColourRuns;
class TextEditor;
class TextEngine;
class UrlHighlighter;
struct AppSettings;
struct UnicodeForm;

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

// How the file's bytes replace the editor's text.
enum class ViewerLoad {
    Fresh,   // the engine's load: a new document with an empty undo list
    Replace, // with conversion on, one replace of the whole text, as the window's Open does
};

// Hands a file's bytes to the editor's engine as the viewer does: Unicode art is read as
// its code page 437 bytes (as the "Encoding" setting chooses; `form` learns how the file
// was written); with "Convert Unix files to Windows" on, its line ends are repaired. Every
// byte is kept, NULs included. Whatever the engine throws (no memory for the text) passes on.
void loadIntoViewer(TextEngine& engine, std::string bytes, const AppSettings& settings,
                    ViewerLoad how = ViewerLoad::Fresh, UnicodeForm* form = nullptr);

} // namespace tavrel
