// What the window shows and files under for the current file name: the caption, the
// task-bar title and the file class that picks the section of the stored window bounds.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// The class of files without a class of their own, and of new documents.
inline constexpr std::string_view kOtherFileClass = "Other";

// "Tavrel" for a new document, else "Tavrel - " and the full name.
[[nodiscard]] std::string windowCaption(std::string_view fileName);

// The name part of a path: what follows the last "/" (or "\" or ":", which names from other
// systems use); empty for an empty path.
[[nodiscard]] std::string fileNamePart(std::string_view path);

// The folder part of a path with its trailing separator; empty when there is none.
[[nodiscard]] std::string folderPart(std::string_view path);

// The extension with its dot: the text from the last "." after the last separator; empty
// when there is none.
[[nodiscard]] std::string extensionOf(std::string_view path);

// "Other", or the lower-case extension without its dot when the extension with its dot is
// longer than three characters (".diz" gives "diz", ".c" and ".md" give "Other").
[[nodiscard]] std::string fileClassOf(std::string_view path);

// The name Save as writes to: the chosen name, with ".txt" appended when it has no extension.
[[nodiscard]] std::string saveAsName(std::string_view chosen);

} // namespace tavrel
