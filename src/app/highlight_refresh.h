// The program's highlighting of one editor from the settings: the address highlighter
// attached or not ("Launch URLs on click"), and the refresh that reloads the keyword list
// from "highlight.dat" and gives the highlight colours to the address styles. The window and
// the image export both go through here, so an image shows what the window shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

class EditorHighlights;
class UrlHighlighter;
struct AppSettings;

// The lines of a keyword file: CR, LF and CR LF all end a line, a last line needs no end,
// and each line is kept exactly as written (spaces included; an empty line is an empty
// keyword, which never matches).
[[nodiscard]] std::vector<std::string> keywordFileLines(std::string_view bytes);

// The keyword file's bytes for a list of lines: each line ended by CR LF.
[[nodiscard]] std::string keywordFileText(const std::vector<std::string>& lines);

// Attaches `urls` to the editor when the launch setting is on, else detaches it.
void attachAddressHighlighter(EditorHighlights& editor, UrlHighlighter& urls,
                              const AppSettings& settings);

// Clears the keywords; with keyword highlighting on, adds every line of `keywordFile` (if it
// can be read) as a whole-word keyword that ignores case, in the highlight colours; applies
// the list again; then sets the web, e-mail, file and other address colours to the
// highlight colours (news addresses keep theirs).
void refreshHighlighting(EditorHighlights& editor, UrlHighlighter& urls,
                         const AppSettings& settings, const std::string& keywordFile);

} // namespace tavrel
