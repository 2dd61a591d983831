// The code page 437 character set (the PC's OEM glyphs): which Unicode character each byte
// of a document is shown as. Text art is drawn with these glyphs whatever the file's code page.
#pragma once

#include <cstdint>

namespace tavrel {

// Unicode character (all in the Basic Multilingual Plane) shown for `byte`. Bytes 1 to 31
// and 127 give the PC's symbol glyphs (smileys, card suits, arrows, the house), never
// control codes; byte 0 is blank, as in the PC's character ROM.
[[nodiscard]] char16_t cp437ToUnicode(std::uint8_t byte) noexcept;

// True for the bytes whose shapes the painter draws itself so that neighbouring cells meet
// without seams: the shades, box-drawing lines and blocks (176 to 223) and the small square
// (254).
[[nodiscard]] constexpr bool isCellShape(std::uint8_t byte) noexcept {
    return (byte >= 176 && byte <= 223) || byte == 254;
}

} // namespace tavrel
