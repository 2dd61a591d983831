// Splitting a segment into words: a bit per byte for the separators, then the words from the
// places where the bits change. No branch depends on the text byte by byte, which is what a
// byte loop pays for at every word end in prose.
#include "editor/word_spans.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrel {

WordSplitter::WordSplitter(const std::bitset<256>& separators) {
    for (std::size_t c = 0; c < 256; ++c) {
        table_[c] = separators[c] ? 1 : 0;
        if (separators[c] && memberCount_ < members_.size()) {
            members_[memberCount_] = static_cast<unsigned char>(c);
        }
        memberCount_ += separators[c] ? 1 : 0;
    }
    fewMembers_ = memberCount_ <= members_.size();
}

void WordSplitter::split(const unsigned char* bytes, std::size_t length,
                         std::vector<std::uint64_t>& bits, std::vector<WordSpan>& out) const {
    out.clear();
    bits.assign((length + 63) / 64, 0);
#if defined(__SSE2__)
    if (fewMembers_) {
        __m128i members[16];
        for (std::size_t k = 0; k < memberCount_; ++k) {
            members[k] = _mm_set1_epi8(static_cast<char>(members_[k]));
        }
        // Bit j set where at[j] is a separator; reads 16 bytes.
        const auto members16 = [&](const unsigned char* at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            __m128i hit = _mm_setzero_si128();
            for (std::size_t k = 0; k < memberCount_; ++k) {
                hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, members[k]));
            }
            return std::uint64_t{static_cast<std::uint32_t>(_mm_movemask_epi8(hit))};
        };
        // The last bytes of a segment are read from a padded copy; the bits past its end are
        // never looked at.
        std::array<unsigned char, 64> padded{};
        for (std::size_t w = 0; w < bits.size(); ++w) {
            const std::size_t begin = w * 64;
            const unsigned char* at = bytes + begin;
            if (length - begin < 64) {
                std::copy(at, bytes + length, padded.begin());
                at = padded.data();
            }
            bits[w] = members16(at) | members16(at + 16) << 16 | members16(at + 32) << 32 |
                      members16(at + 48) << 48;
        }
    } else
#endif
    {
        for (std::size_t j = 0; j < length; ++j) {
            bits[j / 64] |= std::uint64_t{table_[bytes[j]]} << (j % 64);
        }
    }
    // A word starts where a non-separator follows a separator (or the segment start) and
    // ends where a separator follows a non-separator; the two alternate.
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
                out.push_back({start, at});
            } else {
                start = at;
            }
            inWord = !inWord;
        }
    }
    if (inWord) {
        out.push_back({start, static_cast<Pos>(length)});
    }
}

} // namespace tavrel
