// The words of a paragraph segment on the editor's separators: the spans between separator
// bytes, found a machine word at a time. The keyword scan walks these instead of the bytes.
#pragma once

#include <array>
#include <bit>
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

    // Sets bit j of `bits` (replaced) where bytes[j] of [0, length) is a separator.
    void separatorBits(const unsigned char* bytes, std::size_t length,
                       std::vector<std::uint64_t>& bits) const;

    // Calls visit(start, end) for each maximal run of non-separators in bytes [0, length), in
    // order. `bits` is scratch kept by the caller so that a paragraph costs no allocation.
    template <typename Visit>
    void forEachWord(const unsigned char* bytes, std::size_t length,
                     std::vector<std::uint64_t>& bits, Visit&& visit) const {
        separatorBits(bytes, length, bits);
        // A word starts where a non-separator follows a separator (or the segment start) and
        // ends where a separator follows a non-separator: the places where the bits change,
        // which alternate. No branch depends on the bytes one by one, which is what a byte
        // loop pays for at every word end in prose.
        bool inWord = false;
        std::uint64_t carry = 1; // before the segment counts as a separator
        Pos start = 0;
        for (std::size_t w = 0; w < bits.size(); ++w) {
            std::uint64_t separators = bits[w];
            const std::size_t rest = length - w * 64;
            if (rest < 64) {
                separators |= ~std::uint64_t{0} << rest; // past the end counts as a separator
            }
            std::uint64_t changes = separators ^ ((separators << 1) | carry);
            carry = separators >> 63;
            while (changes != 0) {
                const auto at = static_cast<Pos>(w * 64) + std::countr_zero(changes);
                changes &= changes - 1;
                if (inWord) {
                    visit(start, at);
                } else {
                    start = at;
                }
                inWord = !inWord;
            }
        }
        if (inWord) {
            visit(start, static_cast<Pos>(length));
        }
    }

private:
    std::array<std::uint8_t, 256> table_{};
    // The separators themselves when there are few: sixteen bytes are then compared with
    // each at once rather than looked up one by one.
    std::array<unsigned char, 16> members_{};
    std::size_t memberCount_ = 0;
    bool fewMembers_ = false;
    // The set by nibbles, when it splits into at most eight classes of a high nibble with
    // its low nibbles: c is a separator when nibbleLow_[c & 15] & nibbleHigh_[c >> 4] is not
    // zero. Any such set is then classified thirty-two bytes at a time with AVX2.
    std::array<std::uint8_t, 16> nibbleLow_{};
    std::array<std::uint8_t, 16> nibbleHigh_{};
    bool byNibbles_ = false;
};

} // namespace tavrel
