// Reading language files (".olf"): the encoding chosen by the byte-order mark, the line
// breaks, and the size limit that keeps a stray huge file from exhausting memory.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

/// Language files hold a few hundred short lines; anything larger is not one.
inline constexpr std::uintmax_t maxLanguageFileSize = 16u * 1024u * 1024u;

/// Decodes a file's bytes: FF FE is UTF-16 little-endian, FE FF big-endian (an odd trailing
/// byte is ignored), EF BB BF is UTF-8 read with the program's lenient decoder, anything else
/// (and any file shorter than two bytes) is Windows-1252. The mark is not part of the text.
[[nodiscard]] std::u16string decodeLanguageBytes(std::string_view bytes);

/// Splits text into lines at CR LF, CR, LF, VT, FF, U+2028 and U+2029. A NUL ends the text
/// and a break at the very end adds no empty line. The marker characters stay on the lines.
[[nodiscard]] std::vector<std::u16string> splitLanguageLines(std::u16string_view text);

/// Both steps at once: the lines of a language file's bytes.
[[nodiscard]] std::vector<std::u16string> parseLanguageFile(std::string_view bytes);

/// The lines of a language file on disk, or nothing when it cannot be read (missing, a
/// folder, unreadable, or larger than maxLanguageFileSize).
[[nodiscard]] std::optional<std::vector<std::u16string>>
readLanguageFile(const std::filesystem::path& file);

} // namespace tavrel
