// The words of a paragraph segment on the editor's separators: the spans between separator
// bytes, found a machine word at a time. The keyword scan walks these instead of the bytes.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "editor/types.h"

namespace tavrel {

struct WordSpan {
    Pos start = 0; // offsets in the segment
    Pos end = 0;
};

class WordSplitter {
public:
    explicit WordSplitter(const std::bitset<256>& separators = {});

    [[nodiscard]] bool isSeparator(unsigned char c) const noexcept { return table_[c] != 0; }

    // Replaces `out` by the maximal runs of non-separators in bytes [0, length), in order.
    // `bits` is scratch kept by the caller so that a paragraph costs no allocation.
    void split(const unsigned char* bytes, std::size_t length, std::vector<std::uint64_t>& bits,
               std::vector<WordSpan>& out) const;

private:
    std::array<std::uint8_t, 256> table_{};
    // The separators themselves when there are few: sixteen bytes are then compared with
    // each at once rather than looked up one by one.
    std::array<unsigned char, 16> members_{};
    std::size_t memberCount_ = 0;
    bool fewMembers_ = false;
};

} // namespace tavrel
