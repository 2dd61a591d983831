// The first screen of a file, what a file manager's thumbnail shows: the bounded head of the
// file that is read for it and the width the window would size itself to for its first lines,
// so that a huge or binary file costs no more than a small one.
#pragma once

#include "text/unicode_art.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavrel {

class Document;

// Enough for the first screen of art saved as UTF-16 or UTF-8 with an archive header before it;
// the rest of a file is never read.
inline constexpr std::size_t kFirstScreenReadLimit = std::size_t(256) << 10;
// No first screen holds more lines, whatever the font and the art's width.
inline constexpr std::int64_t kFirstScreenMaxLines = 100;

// Cuts a head of a longer file after its last whole line, so that the cut neither splits a
// UTF-8 or UTF-16 character (which would make the decoding read the file as bytes) nor leaves a
// half line: after the last line feed, a 16-bit one where the file starts with a UTF-16 mark or
// `choice` is UTF-16. A head without a line end keeps its whole UTF-8 characters.
void cutAtLastLine(std::string& head, EncodingChoice choice);

// The width in characters the window sizes itself to for the first `lines` lines of the
// document: the widest of them ended by a break, lines of 133 characters or more ignored, at
// least 34.
[[nodiscard]] std::int64_t firstScreenColumns(const Document& document, std::int64_t lines);

} // namespace tavrel
