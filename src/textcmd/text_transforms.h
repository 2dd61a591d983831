// The five selection rewrites of the Format menu as pure functions on byte strings in the
// ANSI code page (Windows-1252). The commands read the selection, call one of these and
// write the result back.
#pragma once

#include <string>
#include <string_view>

namespace tavrel {

/// Join Lines: every CR LF becomes a space, then runs of three spaces and then runs of two
/// spaces each become one, every step a single pass that does not rescan its own output.
/// Lone CRs, lone LFs and tabs stay.
[[nodiscard]] std::string joinLinesText(std::string_view text);

/// Lowercase and Uppercase through the byte case table; the length never changes.
[[nodiscard]] std::string lowercaseText(std::string_view text);
[[nodiscard]] std::string uppercaseText(std::string_view text);

/// Charset to UTF-8: each code-page byte becomes its UTF-8 encoding.
[[nodiscard]] std::string charsetToUtf8Text(std::string_view text);

/// UTF-8 to Charset: decodes leniently (invalid sequences become U+FFFD) and converts back
/// to the code page, characters it lacks becoming their best fit or "?".
[[nodiscard]] std::string utf8ToCharsetText(std::string_view text);

} // namespace tavrel
