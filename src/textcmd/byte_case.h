// The byte case table: lower- and upper-case partners of every Windows-1252 byte. One table
// serves the Lowercase and Uppercase commands and everything else that folds case.
#pragma once

#include <array>

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

} // namespace tavrel
