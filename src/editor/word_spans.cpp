// A bit per byte for the separators of a segment: thirty-two bytes at a time by nibble
// lookups where the processor has AVX2, else sixteen at a time where the set is small (the
// editor's default has fifteen members).
#include "editor/word_spans.h"

#include "editor/avx2_dispatch.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
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
    // Each high nibble's low nibbles; equal sets share a class.
    std::array<std::uint16_t, 16> lows{};
    for (std::size_t c = 0; c < 256; ++c) {
        lows[c >> 4] |= static_cast<std::uint16_t>(separators[c] ? 1u << (c & 15) : 0u);
    }
    std::array<std::uint16_t, 8> classes{};
    std::size_t classCount = 0;
    byNibbles_ = true;
    for (std::size_t h = 0; h < 16 && byNibbles_; ++h) {
        if (lows[h] == 0) {
            continue;
        }
        const auto known = std::find(classes.begin(), classes.begin() + classCount, lows[h]);
        const auto k = static_cast<std::size_t>(known - classes.begin());
        if (k == classCount) {
            byNibbles_ = classCount < classes.size();
            if (!byNibbles_) {
                break;
            }
            classes[classCount++] = lows[h];
            for (std::size_t l = 0; l < 16; ++l) {
                if ((lows[h] >> l & 1u) != 0) {
                    nibbleLow_[l] |= static_cast<std::uint8_t>(1u << k);
                }
            }
        }
        nibbleHigh_[h] = static_cast<std::uint8_t>(1u << k);
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
namespace {

// Sets bit j of bits[j / 64] where byte j of [0, length) is in the set the tables describe,
// thirty-two bytes at a time; `bits` is zeroed. Bytes past the end are read as NULs.
__attribute__((target("avx2"))) void nibbleBits(const unsigned char* bytes, std::size_t length,
                                                const std::array<std::uint8_t, 16>& lowTable,
                                                const std::array<std::uint8_t, 16>& highTable,
                                                std::uint64_t* bits) noexcept {
    const __m256i low = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(lowTable.data())));
    const __m256i high = _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(highTable.data())));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    std::array<unsigned char, 32> padded{};
    for (std::size_t begin = 0; begin < length; begin += 32) {
        const unsigned char* p = bytes + begin;
        if (begin + 32 > length) {
            std::copy(p, bytes + length, padded.begin());
            p = padded.data();
        }
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
        const __m256i classes = _mm256_and_si256(
            _mm256_shuffle_epi8(low, _mm256_and_si256(v, nibble)),
            _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble)));
        const auto none = static_cast<std::uint32_t>(
            _mm256_movemask_epi8(_mm256_cmpeq_epi8(classes, _mm256_setzero_si256())));
        bits[begin / 64] |= std::uint64_t{~none} << (begin % 64);
    }
}

} // namespace
#endif

void WordSplitter::separatorBits(const unsigned char* bytes, std::size_t length,
                                 std::vector<std::uint64_t>& bits) const {
    bits.assign((length + 63) / 64, 0);
#if defined(__GNUC__) && defined(__x86_64__)
    if (byNibbles_ && useAvx2()) {
        nibbleBits(bytes, length, nibbleLow_, nibbleHigh_, bits.data());
        return;
    }
#endif
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
