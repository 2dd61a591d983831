// The GIF variant of LZW: variable-width codes from minimum code size + 1 up to 12 bits,
// packed least significant bit first. A Clear code is sent whenever the next dictionary entry
// would be 4095, so the largest code ever assigned is 4094.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tavrel {

inline constexpr int kLzwMaxCodeBits = 12;
// The first code that is never assigned: reaching it sends a Clear instead.
inline constexpr int kLzwClearAt = 4095;

// Appends the packed code stream for pixels (without the minimum-code-size byte and without
// sub-block framing) to out. minCodeSize is 2 to 8; every pixel must be below colorCount,
// else GifError "Color not in color table" is thrown and out is left as it was.
void lzwEncode(std::span<const std::uint8_t> pixels, int minCodeSize, int colorCount,
               std::vector<std::uint8_t>& out);

} // namespace tavrel
