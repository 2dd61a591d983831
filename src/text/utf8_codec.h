// The program's own UTF-8 codec between byte strings and 16-bit code units. It is not a
// strict standard decoder: it never fails, keeps overlong forms and encoded surrogates, and
// turns every invalid sequence and every value above U+FFFF into U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

/// Decodes UTF-8 bytes into 16-bit code units. Each invalid sequence becomes one U+FFFD and
/// the scan resumes right after the bytes that were examined, so the result never has more
/// code units than the input has bytes.
[[nodiscard]] std::u16string utf8ToWide(std::string_view bytes);

/// Encodes every 16-bit code unit on its own (one to three bytes); a surrogate pair thus
/// becomes two three-byte sequences.
[[nodiscard]] std::string wideToUtf8(std::u16string_view wide);

/// Appends one code unit in one to three bytes, as wideToUtf8 writes it.
void appendUtf8(char16_t unit, std::string& out);

} // namespace tavrel
