// A bit per byte for the separators of a segment, sixteen bytes at a time where the set is
// small (the editor's default has fifteen members).
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

void WordSplitter::separatorBits(const unsigned char* bytes, std::size_t length,
                                 std::vector<std::uint64_t>& bits) const {
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
        // Sixteen bytes past the end of a segment are read from its last sixteen, shifted
        // (a short segment from a copy padded with NULs); bits past its end are never
        // looked at.
        std::array<unsigned char, 16> padded{};
        if (length < 16) {
            std::copy(bytes, bytes + length, padded.begin());
        }
        const auto block = [&](std::size_t begin) {
            if (begin + 16 <= length) {
                return members16(bytes + begin);
            }
            if (begin >= length) {
                return std::uint64_t{0};
            }
            if (length < 16) {
                return members16(padded.data());
            }
            return members16(bytes + length - 16) >> (begin + 16 - length);
        };
        for (std::size_t w = 0; w < bits.size(); ++w) {
            const std::size_t begin = w * 64;
            bits[w] = block(begin) | block(begin + 16) << 16 | block(begin + 32) << 32 |
                      block(begin + 48) << 48;
        }
    } else
#endif
    {
        for (std::size_t j = 0; j < length; ++j) {
            bits[j / 64] |= std::uint64_t{table_[bytes[j]]} << (j % 64);
        }
    }
}

} // namespace tavrel
