// The look the viewer gives its editor from the user's settings (font, colours, visible
// blanks) and the way it hands a file's bytes over, so that an exported image shows a file as
// the viewer would.
#pragma once

#include <cstdint>
#include <string>

namespace tavrel {

class TextEditor;
struct AppSettings;

// Background, font, text colour and visible blanks, as the main window sets them.
void applyViewerLook(TextEditor& editor, const AppSettings& settings);

// Loads a file's bytes into the editor as the viewer does: the text ends at its first NUL
// byte and, with "Convert Unix files to Windows" on, its line ends are repaired first.
// Answers the offset of that NUL byte in the file, or -1 when there is none.
std::int64_t loadAsTheViewerDoes(TextEditor& editor, std::string bytes,
                                 const AppSettings& settings);

} // namespace tavrel
