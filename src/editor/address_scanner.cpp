// The address scan. It is on the hot path of opening a file (every painted paragraph goes
// through it), so bytes are classified sixteen at a time and only those that can begin an
// address are looked at one by one.
#include "editor/address_scanner.h"

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

namespace {

struct ByteClasses {
    std::array<std::uint8_t, 256> delimiter{};
    std::array<std::uint8_t, 256> delimiterOrBreak{}; // the same with CR and LF
    std::array<std::uint8_t, 256> prefixStart{}; // first letter of a prefix literal, either case
    // The prefix rows that begin with each upper-case letter, in table order, -1 ended.
    std::array<std::array<std::int8_t, 4>, 256> rowsByFirst{};

    constexpr ByteClasses() {
        for (int c = 0; c < 256; ++c) {
            delimiter[static_cast<std::size_t>(c)] =
                isUrlDelimiter(static_cast<unsigned char>(c)) ? 1 : 0;
            delimiterOrBreak[static_cast<std::size_t>(c)] =
                delimiter[static_cast<std::size_t>(c)] | (c == '\r' || c == '\n' ? 1 : 0);
            rowsByFirst[static_cast<std::size_t>(c)] = {-1, -1, -1, -1};
        }
        for (std::size_t row = 0; row < kUrlPatterns.size(); ++row) {
            const UrlPattern& p = kUrlPatterns[row];
            if (!p.infix) {
                const auto first = static_cast<unsigned char>(p.literal[0]);
                prefixStart[first] = 1;
                prefixStart[static_cast<unsigned char>(first | 0x20)] = 1;
                auto& rows = rowsByFirst[first];
                std::size_t k = 0;
                while (rows[k] >= 0) {
                    ++k;
                }
                rows[k] = static_cast<std::int8_t>(row);
            }
        }
    }
};
constexpr ByteClasses kClasses;

// The bytes that end an address: the delimiters, and with `Breaks` also CR and LF, for a
// text of several paragraphs joined by their breaks.
template <bool Breaks>
[[nodiscard]] constexpr const std::array<std::uint8_t, 256>& delimiters() noexcept {
    return Breaks ? kClasses.delimiterOrBreak : kClasses.delimiter;
}

template <bool Breaks>
[[nodiscard]] bool delimiterAt(std::string_view text, Pos i) noexcept {
    return delimiters<Breaks>()[static_cast<unsigned char>(text[static_cast<std::size_t>(i)])] != 0;
}

[[nodiscard]] constexpr unsigned char upperAscii(unsigned char c) noexcept {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 0x20) : c;
}

[[nodiscard]] bool literalAt(std::string_view text, Pos m, std::string_view literal) noexcept {
    if (static_cast<std::size_t>(m) + literal.size() > text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < literal.size(); ++i) {
        if (upperAscii(static_cast<unsigned char>(text[static_cast<std::size_t>(m) + i])) !=
            static_cast<unsigned char>(literal[i])) {
            return false;
        }
    }
    return true;
}

// Index of the run covering `pos`, or -1.
[[nodiscard]] std::ptrdiff_t runIndexAt(const std::vector<HighlightRun>& runs, Pos pos) {
    const auto it = std::upper_bound(runs.begin(), runs.end(), pos,
                                     [](Pos p, const HighlightRun& r) { return p < r.start; });
    if (it == runs.begin()) {
        return -1;
    }
    const auto run = std::prev(it);
    return pos < run->start + run->length ? run - runs.begin() : -1;
}

// The row that matches at m, or -1. The rows' first letters and the delimiter rule tell
// prefix rows from the infix row before any literal is compared.
template <bool Breaks>
[[nodiscard]] int rowAt(std::string_view text, Pos m) noexcept {
    const auto n = static_cast<Pos>(text.size());
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(m)]);
    const bool afterDelimiter = m == 0 || delimiterAt<Breaks>(text, m - 1);
    // A prefix row needs a word start and the infix row the opposite, so at most one kind
    // can match here; among the prefix rows only those of this first letter are tried.
    std::array<std::int8_t, 4> rows{-1, -1, -1, -1};
    if (c == '@') {
        if (afterDelimiter) {
            return -1;
        }
        rows[0] = kEmailInfixIndex;
    } else if (afterDelimiter) {
        rows = kClasses.rowsByFirst[upperAscii(c)];
    }
    for (const std::int8_t row : rows) {
        if (row < 0) {
            break;
        }
        const UrlPattern& p = kUrlPatterns[static_cast<std::size_t>(row)];
        if (!literalAt(text, m, p.literal)) {
            continue;
        }
        const Pos after = m + static_cast<Pos>(p.literal.size());
        if (after >= n || delimiterAt<Breaks>(text, after)) {
            continue; // nothing, or a delimiter, right after the literal
        }
        return row;
    }
    return -1;
}

} // namespace

namespace {

// The distinct first two letters of the prefix rows, in lower case: a word start is a
// candidate only when its first two letters could begin a literal. Most words that begin
// with a row's first letter ("the", "for", "was") fail on the pair.
inline constexpr std::array<std::array<char, 2>, 11> kLetterPairs{{{'h', 't'},
                                                                   {'w', 'w'},
                                                                   {'m', 'a'},
                                                                   {'n', 'e'},
                                                                   {'n', 'n'},
                                                                   {'f', 't'},
                                                                   {'g', 'o'},
                                                                   {'t', 'e'},
                                                                   {'t', 'n'},
                                                                   {'w', 'a'},
                                                                   {'p', 'r'}}};

[[nodiscard]] constexpr bool isPairOfRow(const std::array<char, 2>& pair,
                                         const UrlPattern& p) noexcept {
    return !p.infix && static_cast<char>(p.literal[0] | 0x20) == pair[0] &&
           static_cast<char>(p.literal[1] | 0x20) == pair[1];
}

// True when kLetterPairs holds exactly the pairs of the prefix rows.
constexpr bool pairsFollowTheTable() {
    for (const UrlPattern& p : kUrlPatterns) {
        if (!p.infix && std::none_of(kLetterPairs.begin(), kLetterPairs.end(),
                                     [&](const auto& pair) { return isPairOfRow(pair, p); })) {
            return false;
        }
    }
    return std::all_of(kLetterPairs.begin(), kLetterPairs.end(), [](const auto& pair) {
        return std::any_of(kUrlPatterns.begin(), kUrlPatterns.end(),
                           [&](const UrlPattern& p) { return isPairOfRow(pair, p); });
    });
}
static_assert(pairsFollowTheTable(), "the candidate letter pairs must follow the table");

// The distinct first three letters of the prefix rows, in lower case, taken from the table:
// with AVX2 a third compare costs little and spares the one-by-one look at most words that
// pass the pair ("was", "make", "never").
// A row's first three letters in lower case (an infix row has none).
[[nodiscard]] constexpr std::array<char, 3> firstThree(const UrlPattern& p) noexcept {
    if (p.literal.size() < 3) {
        return {};
    }
    return {static_cast<char>(p.literal[0] | 0x20), static_cast<char>(p.literal[1] | 0x20),
            static_cast<char>(p.literal[2] | 0x20)};
}
static_assert(std::all_of(kUrlPatterns.begin(), kUrlPatterns.end(),
                          [](const UrlPattern& p) { return p.infix || p.literal.size() >= 3; }),
              "every prefix literal has three letters to compare");

// The distinct triples in table order, and how many there are.
struct Triples {
    std::array<std::array<char, 3>, kUrlPatterns.size()> letters{};
    std::size_t count = 0;
};
constexpr Triples distinctTriples() {
    Triples out;
    for (const UrlPattern& p : kUrlPatterns) {
        const std::array<char, 3> t = firstThree(p);
        const auto end = out.letters.begin() + static_cast<std::ptrdiff_t>(out.count);
        if (!p.infix && std::find(out.letters.begin(), end, t) == end) {
            out.letters[out.count++] = t;
        }
    }
    return out;
}
constexpr std::size_t kTripleCount = distinctTriples().count;
constexpr std::array<std::array<char, 3>, kTripleCount> kLetterTriples = [] {
    std::array<std::array<char, 3>, kTripleCount> out{};
    const Triples triples = distinctTriples();
    std::copy_n(triples.letters.begin(), kTripleCount, out.begin());
    return out;
}();

#if defined(__SSE2__)
// Of sixteen bytes: bit j of `delimiters` set where byte j ends an address, of `pairs` where
// bytes j and j + 1 are a prefix row's first two letters, of `at` where byte j is an "@".
struct Classes16 {
    std::uint32_t delimiters = 0;
    std::uint32_t pairs = 0;
    std::uint32_t at = 0;
};

// Classifies the sixteen bytes at `at`, reading [at, at + 17). A few dozen instructions and no
// branch, which keeps ordinary prose cheap: only the rare candidates are looked at one by one.
template <bool Breaks>
[[nodiscard]] inline Classes16 classes16(const unsigned char* at) noexcept {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 1));
    const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i nextLower = _mm_or_si128(next, _mm_set1_epi8(0x20));
    const auto eq = [](__m128i x, int c) {
        return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(c)));
    };
    // "(" and ")", "<" and ">" differ in one bit each: one compare a pair.
    __m128i delimiter =
        _mm_or_si128(_mm_or_si128(eq(v, '\t'), eq(v, ' ')), _mm_or_si128(eq(v, '"'), eq(v, '\'')));
    delimiter = _mm_or_si128(delimiter, eq(_mm_and_si128(v, _mm_set1_epi8(~0x01)), '('));
    delimiter =
        _mm_or_si128(delimiter, eq(_mm_and_si128(v, _mm_set1_epi8(static_cast<char>(~0x02))), '<'));
    if constexpr (Breaks) {
        delimiter = _mm_or_si128(delimiter, _mm_or_si128(eq(v, '\r'), eq(v, '\n')));
    }
    __m128i pairs = _mm_setzero_si128();
    for (const auto& [first, second] : kLetterPairs) {
        pairs = _mm_or_si128(pairs, _mm_and_si128(eq(lower, first), eq(nextLower, second)));
    }
    return {static_cast<std::uint32_t>(_mm_movemask_epi8(delimiter)),
            static_cast<std::uint32_t>(_mm_movemask_epi8(pairs)),
            static_cast<std::uint32_t>(_mm_movemask_epi8(eq(v, '@')))};
}
static_assert((')' & ~0x01) == '(' && ('(' & 0x01) == 0 && ('>' & ~0x02) == '<' &&
                  ('<' & 0x02) == 0,
              "each pair of brackets must differ in the one bit that is masked");

// The offsets of [from, to) of the n bytes that may begin an address: bit i of bits[i / 64]
// for offset from + i, set for a prefix row's first two letters after a delimiter and for an
// "@". The whole stretch is classified first, at the speed of memory, and only then are the
// rare candidates looked at one by one. Bytes past n are read as NULs, which begin and end
// nothing (and nothing could follow a literal at n - 1 anyway).
template <bool Breaks>
void candidateBits(const unsigned char* bytes, Pos n, Pos from, Pos to,
                   std::uint64_t* bits) noexcept {
    const Pos length = to - from;
    std::fill_n(bits, (length + 63) / 64, 0);
    std::uint32_t carry = from == 0 || delimiters<Breaks>()[bytes[from - 1]] != 0 ? 1 : 0;
    for (Pos i = 0; i < length; i += 16) {
        const Pos at = from + i;
        Classes16 c;
        if (at + 17 <= n) {
            c = classes16<Breaks>(bytes + at);
        } else {
            std::array<unsigned char, 17> padded{};
            std::copy(bytes + at, bytes + n, padded.begin());
            c = classes16<Breaks>(padded.data());
        }
        const std::uint32_t after = (c.delimiters << 1) | carry;
        carry = (c.delimiters >> 15) & 1;
        std::uint32_t found = ((c.pairs & after) | c.at) & 0xFFFF;
        if (length - i < 16) {
            found &= (1u << (length - i)) - 1;
        }
        bits[i / 64] |= std::uint64_t{found} << (i % 64);
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
#define TAVREL_ADDRESS_AVX2 1
// Byte classes looked up by nibble, sixteen table entries at a time (vpshufb): byte b is in
// class k when bit k is set both in low[b & 15] and in high[b >> 4]. Exact for classes whose
// members are all the bytes of some high nibbles with some low nibbles, as single bytes are.
struct NibbleTables {
    std::array<std::uint8_t, 16> low{};
    std::array<std::uint8_t, 16> high{};

    constexpr void add(unsigned char byte, std::uint8_t classBit) noexcept {
        low[byte & 15] |= classBit;
        high[byte >> 4] |= classBit;
    }
    [[nodiscard]] constexpr std::uint8_t classesOf(unsigned char byte) const noexcept {
        return low[byte & 15] & high[byte >> 4];
    }
};

// The classes of the bytes that end an address or are an "@".
enum : std::uint8_t {
    kTabClass = 1,
    kBreakClass = 2,    // CR, LF: delimiters only between paragraphs
    kTwentiesClass = 4, // space, the quotes and the parentheses
    kAnglesClass = 8,
    kAtClass = 16,
};
constexpr NibbleTables kDelimiterTables = [] {
    NibbleTables t;
    t.add('\t', kTabClass);
    t.add('\r', kBreakClass);
    t.add('\n', kBreakClass);
    for (const char c : {' ', '"', '\'', '(', ')'}) {
        t.add(static_cast<unsigned char>(c), kTwentiesClass);
    }
    t.add('<', kAnglesClass);
    t.add('>', kAnglesClass);
    t.add('@', kAtClass);
    return t;
}();
constexpr bool delimiterTablesExact() {
    for (int c = 0; c < 256; ++c) {
        const auto b = static_cast<unsigned char>(c);
        const std::uint8_t classes = kDelimiterTables.classesOf(b);
        if (((classes & (kTabClass | kTwentiesClass | kAnglesClass)) != 0) != isUrlDelimiter(b) ||
            ((classes & kBreakClass) != 0) != (b == '\r' || b == '\n') ||
            ((classes & kAtClass) != 0) != (b == '@')) {
            return false;
        }
    }
    return true;
}
static_assert(delimiterTablesExact(), "the nibble tables must find the delimiters exactly");

// For the letter triples, eight to a group (a bit each), the tables of the first, second
// and third letter of each group: position i holds a triple of the group when the three
// lookups at i, i + 1 and i + 2 share a bit.
constexpr std::size_t kTripleGroups = (kTripleCount + 7) / 8;
constexpr auto kTripleTables = [] {
    std::array<std::array<NibbleTables, 3>, kTripleGroups> out{};
    for (std::size_t k = 0; k < kTripleCount; ++k) {
        for (std::size_t j = 0; j < 3; ++j) {
            out[k / 8][j].add(static_cast<unsigned char>(kLetterTriples[k][j]),
                              static_cast<std::uint8_t>(1u << (k % 8)));
        }
    }
    return out;
}();

__attribute__((target("avx2"))) inline __m256i
tableVector(const std::array<std::uint8_t, 16>& table) noexcept {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(table.data())));
}

// Bit j set where byte j of the vector is not zero.
__attribute__((target("avx2"))) inline std::uint64_t nonZero32(__m256i x) noexcept {
    return ~static_cast<std::uint64_t>(static_cast<std::uint32_t>(
               _mm256_movemask_epi8(_mm256_cmpeq_epi8(x, _mm256_setzero_si256())))) &
           0xFFFFFFFFu;
}

// candidateBits thirty-two bytes at a time, for processors that have AVX2 (chosen at run
// time, so the program still runs on any x86-64): bytes classified by nibble lookups, a
// few instructions for any number of classes, and a prefix row's first three letters
// rather than two (reads the bytes [at, at + 34)), so most words that share the first two
// with a literal ("was", "make", "never") are never looked at one by one.
template <bool Breaks>
__attribute__((target("avx2"))) void candidateBitsAvx2(const unsigned char* bytes, Pos n, Pos from,
                                                       Pos to, std::uint64_t* bits) noexcept {
    const Pos length = to - from;
    std::fill_n(bits, (length + 63) / 64, 0);
    std::uint64_t carry = from == 0 || delimiters<Breaks>()[bytes[from - 1]] != 0 ? 1 : 0;
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    // Lower case sets bit 5, which is bit 1 of the high nibble.
    const __m256i lowerHigh = _mm256_set1_epi8(0x02);
    const __m256i delimiterLow = tableVector(kDelimiterTables.low);
    const __m256i delimiterHigh = tableVector(kDelimiterTables.high);
    constexpr std::uint8_t kDelimiterClasses =
        kTabClass | kTwentiesClass | kAnglesClass | (Breaks ? kBreakClass : 0);
    const __m256i delimiterClasses = _mm256_set1_epi8(static_cast<char>(kDelimiterClasses));
    const __m256i atClass = _mm256_set1_epi8(static_cast<char>(kAtClass));
    std::array<unsigned char, 34> padded{};
    for (Pos i = 0; i < length; i += 32) {
        const Pos at = from + i;
        const unsigned char* p = bytes + at;
        if (at + 34 > n) {
            padded.fill(0);
            std::copy(bytes + at, bytes + n, padded.begin());
            p = padded.data();
        }
        __m256i low[3];  // NOLINT: std::array would drop the vectors' alignment
        __m256i high[3]; // NOLINT
        for (std::size_t j = 0; j < 3; ++j) {
            const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + j));
            low[j] = _mm256_and_si256(v, nibble);
            high[j] = _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble);
        }
        const __m256i classes = _mm256_and_si256(_mm256_shuffle_epi8(delimiterLow, low[0]),
                                                 _mm256_shuffle_epi8(delimiterHigh, high[0]));
        __m256i triples = _mm256_setzero_si256();
        for (const auto& group : kTripleTables) {
            __m256i hit = _mm256_set1_epi8(-1);
            for (std::size_t j = 0; j < 3; ++j) {
                hit = _mm256_and_si256(
                    hit,
                    _mm256_and_si256(_mm256_shuffle_epi8(tableVector(group[j].low), low[j]),
                                     _mm256_shuffle_epi8(tableVector(group[j].high),
                                                         _mm256_or_si256(high[j], lowerHigh))));
            }
            triples = _mm256_or_si256(triples, hit);
        }
        const std::uint64_t d = nonZero32(_mm256_and_si256(classes, delimiterClasses));
        const std::uint64_t e = nonZero32(_mm256_and_si256(classes, atClass));
        const std::uint64_t f = nonZero32(triples);
        const std::uint64_t after = ((d << 1) | carry) & 0xFFFFFFFFu;
        carry = d >> 31;
        std::uint64_t found = (f & after) | e;
        if (length - i < 32) {
            found &= (std::uint64_t{1} << (length - i)) - 1;
        }
        bits[i / 64] |= found << (i % 64);
    }
}

#endif
#endif

// The address whose literal matched at m (row `row`), with its start and end as the rules
// place them.
template <bool Breaks>
[[nodiscard]] FoundAddress addressAt(std::string_view text, Pos m, int row) noexcept {
    const auto n = static_cast<Pos>(text.size());
    const UrlPattern& p = kUrlPatterns[static_cast<std::size_t>(row)];
    Pos start = m;
    if (p.infix) {
        while (start > 0 && !delimiterAt<Breaks>(text, start - 1)) {
            --start;
        }
    }
    Pos end = m + static_cast<Pos>(p.literal.size());
    while (end < n && !delimiterAt<Breaks>(text, end)) {
        ++end;
    }
    while (end - start > 1) {
        const char last = text[static_cast<std::size_t>(end - 1)];
        if (last != ',' && last != '.' && last != ';') {
            break;
        }
        --end;
    }
    // Runs do not nest here, so the limit of nested contexts at a run is never reached.
    return {start, std::min(end - start, kMaxRunLength), row};
}

template <bool Breaks>
void findAddressesIn(std::string_view text, Pos from, Pos to, const AddressScan& scan,
                     std::vector<FoundAddress>& out) {
    const auto n = static_cast<Pos>(text.size());
    from = std::max<Pos>(from, 0);
    to = std::min(to, n);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    // The first offset not yet passed: a found address moves it past its end.
    Pos passed = from;
    // Takes the address whose literal may begin at m, if the rules let it.
    const auto tryAt = [&](Pos m) {
        const int row = rowAt<Breaks>(text, m);
        if (row < 0) {
            return;
        }
        const FoundAddress found = addressAt<Breaks>(text, m, row);
        if (!scan.priority && scan.existing != nullptr && !scan.existing->empty() &&
            runIndexAt(*scan.existing, found.start) !=
                runIndexAt(*scan.existing, found.start + found.length - 1)) {
            return;
        }
        if (scan.accept != nullptr && *scan.accept && !(*scan.accept)(found)) {
            return;
        }
        out.push_back(found);
        // Go on right after the address (a cut one may end before its own "@").
        passed = std::max(m + 1, found.start + found.length);
    };
#if defined(__SSE2__)
    // A window at a time, its candidates found first (candidateBits) and then tried in
    // order; small enough for the stack and the first-level cache.
    constexpr Pos kWindow = 4096;
    std::array<std::uint64_t, kWindow / 64> bits;
    for (Pos window = from; window < to; window += kWindow) {
        const Pos end = std::min(to, window + kWindow);
        if (passed >= end) {
            continue; // inside an address found before
        }
#if defined(TAVREL_ADDRESS_AVX2)
        if (useAvx2()) {
            candidateBitsAvx2<Breaks>(bytes, n, window, end, bits.data());
        } else
#endif
        {
            candidateBits<Breaks>(bytes, n, window, end, bits.data());
        }
        const auto words = static_cast<std::size_t>((end - window + 63) / 64);
        for (std::size_t w = 0; w < words; ++w) {
            for (std::uint64_t b = bits[w]; b != 0; b &= b - 1) {
                const Pos m = window + static_cast<Pos>(w * 64) + std::countr_zero(b);
                if (m >= passed) { // not inside an address found before
                    tryAt(m);
                }
            }
        }
    }
#else
    // A prefix literal can only begin a word and the infix one is the rare "@".
    const auto& delimiter = delimiters<Breaks>();
    for (Pos m = passed; m < to; m = std::max(m + 1, passed)) {
        const unsigned char c = bytes[m];
        const bool afterDelimiter = m == 0 || delimiter[bytes[m - 1]] != 0;
        if ((kClasses.prefixStart[c] != 0 && afterDelimiter) || c == '@') {
            tryAt(m);
        }
    }
#endif
}

} // namespace

void findAddresses(std::string_view text, Pos from, Pos to, const AddressScan& scan,
                   std::vector<FoundAddress>& out) {
    findAddressesIn<false>(text, from, to, scan, out);
}

void findAddressesAcrossBreaks(std::string_view text, const AddressScan& scan,
                               std::vector<FoundAddress>& out) {
    findAddressesIn<true>(text, 0, static_cast<Pos>(text.size()), scan, out);
}

} // namespace tavrel
