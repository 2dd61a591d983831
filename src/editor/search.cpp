// Text search: the byte finder and the engine's SearchText with its whole-word rule.
#include "editor/search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "editor/text_engine.h"

#if defined(__x86_64__) || defined(__SSE2__)
#include <immintrin.h>
#endif

namespace tavrel {

namespace {

bool isAsciiLetter(char c) noexcept {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool equalFolded(const char* text, std::string_view upperPattern) noexcept {
    for (std::size_t i = 0; i < upperPattern.size(); ++i) {
        if (upperAscii(text[i]) != upperPattern[i]) {
            return false;
        }
    }
    return true;
}

// How common each byte is in the files this editor opens (English prose, configuration files
// and code page 437 block art), higher is more common. Only the order matters: the search
// filters on the two pattern bytes expected to be rarest, so that on prose the filter is not
// kept busy by every 'e' and space, and on art by every shade block.
constexpr std::array<std::uint8_t, 256> kByteCommonness = [] {
    std::array<std::uint8_t, 256> rank{};
    for (int b = 0; b < 256; ++b) {
        rank[b] = b < 0x20 ? 10 : b < 0x7F ? 120 : 80;
    }
    // Lower-case letters in their order of frequency in English text.
    const char* const letters = "etaoinshrdlcumwfgypbvkjxqz";
    for (int i = 0; letters[i] != '\0'; ++i) {
        rank[static_cast<unsigned char>(letters[i])] = static_cast<std::uint8_t>(250 - 2 * i);
        rank[static_cast<unsigned char>(letters[i] - 'a' + 'A')] =
            static_cast<std::uint8_t>(160 - i);
    }
    for (int d = '0'; d <= '9'; ++d) {
        rank[d] = 150;
    }
    for (unsigned char c : {'.', ',', '-', '=', '\'', '"', ':', '*', '_', '/', '(', ')'}) {
        rank[c] = 190;
    }
    rank[' '] = 255;
    rank['\r'] = 245;
    rank['\n'] = 245;
    // Shades, half blocks and box lines: the bulk of text art.
    for (int b : {0xDB, 0xB0, 0xB1, 0xB2, 0xDC, 0xDD, 0xDE, 0xDF, 0xC4, 0xCD, 0xB3, 0xBA, 0xFE,
                  0xF9, 0xFA}) {
        rank[b] = 230;
    }
    return rank;
}();

using Probe = ByteFinder::Probe;

// Picks the rarest pattern byte and the rarest other one; for a letter under folding the
// mask folds its two cases onto the lower one.
Probe chooseProbe(std::string_view pattern, bool fold) noexcept {
    auto commonness = [&](std::size_t i) {
        const char c = pattern[i];
        const char key = fold ? lowerAscii(c) : c;
        return kByteCommonness[static_cast<unsigned char>(key)];
    };
    std::size_t rarest = 0;
    for (std::size_t i = 1; i < pattern.size(); ++i) {
        if (commonness(i) < commonness(rarest)) {
            rarest = i;
        }
    }
    // The second probe: the rarest byte elsewhere, preferring a byte value other than the
    // first's (two probes of the same byte filter little more than one).
    std::size_t second = rarest == 0 ? pattern.size() - 1 : 0;
    auto better = [&](std::size_t i, std::size_t than) {
        const bool iDiffers = pattern[i] != pattern[rarest];
        const bool thanDiffers = pattern[than] != pattern[rarest];
        if (iDiffers != thanDiffers) {
            return iDiffers;
        }
        return commonness(i) < commonness(than);
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (i != rarest && better(i, second)) {
            second = i;
        }
    }
    Probe probe;
    probe.offset1 = std::min(rarest, second);
    probe.offset2 = std::max(rarest, second);
    const char c1 = pattern[probe.offset1];
    const char c2 = pattern[probe.offset2];
    const bool fold1 = fold && isAsciiLetter(c1);
    const bool fold2 = fold && isAsciiLetter(c2);
    probe.mask1 = fold1 ? 0x20 : 0;
    probe.mask2 = fold2 ? 0x20 : 0;
    probe.value1 = fold1 ? static_cast<char>(c1 | 0x20) : c1;
    probe.value2 = fold2 ? static_cast<char>(c2 | 0x20) : c2;
    return probe;
}

// Whether the whole pattern stands at `at`, with or without case.
bool matchesAt(const char* at, std::string_view pattern, bool fold) noexcept {
    return fold ? equalFolded(at, pattern) : std::memcmp(at, pattern.data(), pattern.size()) == 0;
}

// Candidates start in [p, lastStart]; checks every one whose probes agree, one at a time.
// The vector loops below hand over their tail to this loop.
const char* findScalar(const char* p, const char* lastStart, std::string_view pattern, bool fold,
                       const Probe& probe) noexcept {
    for (; p <= lastStart; ++p) {
        if (static_cast<char>(p[probe.offset1] | probe.mask1) == probe.value1 &&
            static_cast<char>(p[probe.offset2] | probe.mask2) == probe.value2 &&
            matchesAt(p, pattern, fold)) {
            return p;
        }
    }
    return nullptr;
}

#if defined(__x86_64__) || defined(__SSE2__)
// The first of the candidates marked in `bits` (bit i: a start at base + i) where the whole
// pattern stands, or nothing.
const char* firstMatch(const char* base, unsigned bits, std::string_view pattern,
                       bool fold) noexcept {
    for (; bits != 0; bits &= bits - 1) {
        const char* at = base + __builtin_ctz(bits);
        if (matchesAt(at, pattern, fold)) {
            return at;
        }
    }
    return nullptr;
}

// Compares both probes at 16 places at once; only where both agree is the whole pattern
// compared.
const char* findSse2(const char* begin, const char* lastStart, std::string_view pattern, bool fold,
                     const Probe& probe) noexcept {
    const __m128i mask1 = _mm_set1_epi8(probe.mask1);
    const __m128i value1 = _mm_set1_epi8(probe.value1);
    const __m128i mask2 = _mm_set1_epi8(probe.mask2);
    const __m128i value2 = _mm_set1_epi8(probe.value2);
    const char* p = begin;
    while (lastStart - p >= 15) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe.offset1));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + probe.offset2));
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, mask1), value1),
                                          _mm_cmpeq_epi8(_mm_or_si128(b, mask2), value2));
        const unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (const char* at = firstMatch(p, bits, pattern, fold)) {
            return at;
        }
        p += 16;
    }
    return findScalar(p, lastStart, pattern, fold, probe);
}

// The same filter at 32 places at once, for processors that have AVX2 (chosen at run time,
// so the program still runs on any x86-64). Two loads, two ORs, two compares and a movemask
// per 32 bytes: on a rare probe pair this runs at about the speed of memory.
__attribute__((target("avx2"))) const char* findAvx2(const char* begin, const char* lastStart,
                                                     std::string_view pattern, bool fold,
                                                     const Probe& probe) noexcept {
    const __m256i mask1 = _mm256_set1_epi8(probe.mask1);
    const __m256i value1 = _mm256_set1_epi8(probe.value1);
    const __m256i mask2 = _mm256_set1_epi8(probe.mask2);
    const __m256i value2 = _mm256_set1_epi8(probe.value2);
    const char* p = begin;
    while (lastStart - p >= 31) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + probe.offset1));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + probe.offset2));
        const __m256i hit = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, mask1), value1),
                                             _mm256_cmpeq_epi8(_mm256_or_si256(b, mask2), value2));
        const unsigned bits = static_cast<unsigned>(_mm256_movemask_epi8(hit));
        if (const char* at = firstMatch(p, bits, pattern, fold)) {
            return at;
        }
        p += 32;
    }
    if (p > lastStart) {
        return nullptr;
    }
    if (lastStart - begin < 31) {
        return findSse2(p, lastStart, pattern, fold, probe);
    }
    // The last candidates: one more block ending at lastStart, overlapping the ones already
    // done, whose positions before p are masked off. Between blank lines prose comes in runs
    // of a few hundred bytes, where a byte-by-byte tail would cost as much as the scan.
    const char* q = lastStart - 31;
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + probe.offset1));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + probe.offset2));
    const __m256i hit = _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(a, mask1), value1),
                                         _mm256_cmpeq_epi8(_mm256_or_si256(b, mask2), value2));
    const unsigned bits = static_cast<unsigned>(_mm256_movemask_epi8(hit)) & (~0u << (p - q));
    return firstMatch(q, bits, pattern, fold);
}

bool haveAvx2() noexcept {
    static const bool have = [] {
        __builtin_cpu_init(); // may run before the library's own start-up code
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return have;
}
#endif

} // namespace

namespace {

const char* findWith(const char* begin, const char* end, std::string_view pattern, bool fold,
                     const Probe& probe) noexcept {
    const std::size_t n = pattern.size();
    if (n == 0 || end - begin < static_cast<std::ptrdiff_t>(n)) {
        return nullptr;
    }
    if (!fold && n == 1) {
        return static_cast<const char*>(
            std::memchr(begin, pattern.front(), static_cast<std::size_t>(end - begin)));
    }
    const char* const lastStart = end - n; // candidates start at or before this
#if defined(__x86_64__) || defined(__SSE2__)
    return haveAvx2() ? findAvx2(begin, lastStart, pattern, fold, probe)
                      : findSse2(begin, lastStart, pattern, fold, probe);
#else
    return findScalar(begin, lastStart, pattern, fold, probe);
#endif
}

} // namespace

ByteFinder::ByteFinder(std::string_view pattern, bool foldCase)
    : pattern_(pattern), fold_(foldCase) {
    if (!pattern_.empty()) {
        probe_ = chooseProbe(pattern_, fold_);
    }
}

const char* ByteFinder::find(const char* begin, const char* end) const noexcept {
    return findWith(begin, end, pattern_, fold_, probe_);
}

const char* findBytes(const char* begin, const char* end, std::string_view pattern,
                      bool foldCase) noexcept {
    if (pattern.empty()) {
        return nullptr;
    }
    return findWith(begin, end, pattern, foldCase, chooseProbe(pattern, foldCase));
}

// SearchText: a match never crosses a paragraph break, so a pattern holding CR or LF is
// never found. Unedited paragraphs that follow each other in memory (separated only by
// their original break bytes) are scanned as one run, which is what makes a search over a
// 100 MB file run at the speed of the byte finder; an edited paragraph is a run of its own.
bool TextEngine::searchText(std::string_view pattern, bool forward, bool fromStart, bool wholeWord,
                            bool matchCase) {
    if (pattern.empty() || pattern.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    const ByteFinder finder(matchCase ? std::string(pattern) : upperAscii(pattern), !matchCase);
    const Pos n = static_cast<Pos>(pattern.size());
    const Pos count = doc_.paragraphCount();
    auto text = [&](Pos p) { return doc_.paragraph(p); };
    auto counts = [&](Pos p, Pos offset) {
        if (!wholeWord) {
            return true;
        }
        const std::string_view t = text(p);
        const bool startOk =
            offset == 0 ||
            isSeparator(static_cast<unsigned char>(t[static_cast<std::size_t>(offset - 1)]));
        const bool endOk =
            offset + n == static_cast<Pos>(t.size()) ||
            isSeparator(static_cast<unsigned char>(t[static_cast<std::size_t>(offset + n)]));
        return startOk && endOk;
    };

    Pos startPara;
    Pos startOffset;
    if (fromStart) {
        startPara = forward ? 0 : count - 1;
        startOffset = forward ? 0 : doc_.paragraphLength(startPara);
    } else {
        const Pos s = doc_.normalise(sel_.caret());
        startPara = doc_.paragraphAt(s);
        startOffset = s - doc_.paragraphStart(startPara);
    }

    Pos foundPara = -1;
    Pos foundOffset = -1;
    Pos chunk = 512; // runs grow so that a near match costs little and a far one few calls
    constexpr Pos kMaxChunk = 256 * 1024; // a run stays in the cache between walk and scan
    if (forward) {
        Pos p = startPara;
        Pos offset = startOffset;
        while (p < count && foundPara < 0) {
            const Pos q = doc_.runEnd(p, chunk);
            const char* from = text(p).data() + offset;
            const char* runEnd = text(q).data() + doc_.paragraphLength(q);
            Pos k = p;
            while (const char* hit = finder.find(from, runEnd)) {
                while (hit >= text(k).data() + doc_.paragraphLength(k)) {
                    ++k;
                }
                const Pos hitOffset = hit - text(k).data();
                if (counts(k, hitOffset)) {
                    foundPara = k;
                    foundOffset = hitOffset;
                    break;
                }
                from = hit + 1;
            }
            p = q + 1;
            offset = 0;
            chunk = std::min(chunk * 2, kMaxChunk);
        }
    } else {
        Pos p = startPara;
        const char* limit = text(p).data() + startOffset; // candidates must start before it
        while (p >= 0 && foundPara < 0) {
            const Pos q = doc_.runStart(p, chunk);
            const char* from = text(q).data();
            const char* runEnd = text(p).data() + doc_.paragraphLength(p);
            Pos k = q;
            while (const char* hit = finder.find(from, runEnd)) {
                if (limit != nullptr && hit >= limit) {
                    break;
                }
                while (hit >= text(k).data() + doc_.paragraphLength(k)) {
                    ++k;
                }
                const Pos hitOffset = hit - text(k).data();
                if (counts(k, hitOffset)) {
                    foundPara = k; // keep looking: the last one in the run wins
                    foundOffset = hitOffset;
                }
                from = hit + 1;
            }
            p = q - 1;
            limit = nullptr;
            chunk = std::min(chunk * 2, kMaxChunk);
        }
    }
    if (foundPara < 0) {
        return false;
    }
    const Pos matchStart = doc_.paragraphStart(foundPara) + foundOffset;
    if (forward) {
        setSelLength(0);
        setSelStart(matchStart + n);
        setSelLength(-n);
    } else {
        setSelStart(matchStart);
        setSelLength(n);
    }
    return true;
}

} // namespace tavrel
