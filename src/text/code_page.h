// Windows-1252, the program's ANSI code page on every platform: documents, settings values
// and interface texts are strings of these bytes. Conversions to and from 16-bit code units.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

/// The byte written for a character that the code page lacks and has no best fit for.
inline constexpr char codePageDefaultChar = '?';

/// The character a byte stands for. Every byte is defined: the five bytes Windows-1252 leaves
/// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 controls of the same value.
[[nodiscard]] char16_t codePageByteToWide(unsigned char byte) noexcept;

/// The byte that stands for a character exactly, or nothing when the code page lacks it.
[[nodiscard]] std::optional<unsigned char> wideToCodePageByte(char16_t ch) noexcept;

/// Converts bytes to 16-bit code units, one unit per byte.
[[nodiscard]] std::u16string codePageToWide(std::string_view bytes);

/// Converts 16-bit code units to bytes, one byte per unit. A character the code page lacks
/// becomes its best fit (a letter without its accent, an ASCII look-alike) when there is one,
/// else the default character "?".
[[nodiscard]] std::string wideToCodePage(std::u16string_view wide);

} // namespace tavrel
