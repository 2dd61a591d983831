// The byte case table: lower- and upper-case partners of every Windows-1252 byte. One table
// serves the Lowercase and Uppercase commands and every comparison that ignores letter case
// in Windows-1252 text (setting sections and keys, colour names).
#pragma once

#include <array>
#include <string_view>

namespace tavrel {

struct ByteCaseTable {
    std::array<unsigned char, 256> lower{};
    std::array<unsigned char, 256> upper{};
};

/// Builds the table from the Unicode simple case mapping of each byte's character, keeping
/// a partner only when the code page holds it too; other bytes map to themselves, so the
/// mapping never changes a string's length.
[[nodiscard]] ByteCaseTable buildByteCaseTable() noexcept;

/// The table of the running program, built on first use and never rebuilt.
[[nodiscard]] const ByteCaseTable& byteCaseTable() noexcept;

/// True when the two strings are equal after folding each byte to its lower-case partner.
[[nodiscard]] bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept;

} // namespace tavrel
