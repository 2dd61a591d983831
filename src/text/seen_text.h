// Bytes as the reader sees them: the glyph the display draws for each byte (code page 437,
// or Windows-1252 for plain texts that were never art), and text handed to other programs
// in those glyphs and read back from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavrel {

enum class ByteGlyphs : std::uint8_t {
    Cp437,       // the PC's glyphs for every byte: text art
    Windows1252, // Latin letters above 127; the PC's glyphs below 32 and at 127
};

// The character drawn for `byte`.
[[nodiscard]] char16_t displayedChar(std::uint8_t byte, ByteGlyphs glyphs) noexcept;

// Each byte as the character drawn for it, so that pasted elsewhere the art looks the same.
// Tab, line feed and carriage return stay what they are: they shape the text rather than
// draw a glyph. A NUL is the blank it is drawn as, never a U+0000 at which another program
// would silently end the text.
[[nodiscard]] std::u16string bytesAsSeen(std::string_view bytes, ByteGlyphs glyphs);

// The reverse: each character as the byte drawn with it; a character no byte draws becomes
// its Windows-1252 byte or best fit, as any other pasted text.
[[nodiscard]] std::string bytesFromSeen(std::u16string_view text, ByteGlyphs glyphs);

} // namespace tavrel
