// Windows language identifiers (LANGIDs) for the platform's locale names. Language files
// declare the languages they serve by LANGID, so "Automatic" needs the user's one.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrel {

/// The LANGID of a locale name such as "de_AT", "de-AT" or "de_AT.UTF-8@euro". A locale
/// without a known country falls back to its language's main identifier ("de" -> 0x0407);
/// "C" and "POSIX" count as US English. Nothing for unknown languages.
[[nodiscard]] std::optional<std::uint16_t> langIdForLocale(std::string_view localeName);

} // namespace tavrel
