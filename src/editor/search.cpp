// Text search: the byte finder and the engine's SearchText with its whole-word rule.
#include "editor/search.h"

#include <algorithm>
#include <cstring>

#include "editor/text_engine.h"

#if defined(__SSE2__)
#include <emmintrin.h>
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

// Compares the first and the last byte of the pattern at 16 places at once; only where both
// agree is the whole pattern compared. For a letter under folding, OR-ing 0x20 into the
// text folds exactly its two cases onto the lower one. On text art this filter runs faster
// than the C library's memmem, whose work per call pays off only on longer texts.
const char* findFiltered(const char* begin, const char* end, std::string_view pattern,
                         bool fold) noexcept {
    const std::size_t n = pattern.size();
    const char* const lastStart = end - n; // candidates start at or before this
    auto equal = [&](const char* at) {
        return fold ? equalFolded(at, pattern) : std::memcmp(at, pattern.data(), n) == 0;
    };
    const char* p = begin;
#if defined(__SSE2__)
    const char first = pattern.front();
    const char last = pattern.back();
    const bool foldFirst = fold && isAsciiLetter(first);
    const bool foldLast = fold && isAsciiLetter(last);
    const __m128i firstMask = _mm_set1_epi8(foldFirst ? 0x20 : 0);
    const __m128i firstValue = _mm_set1_epi8(foldFirst ? static_cast<char>(first | 0x20) : first);
    const __m128i lastMask = _mm_set1_epi8(foldLast ? 0x20 : 0);
    const __m128i lastValue = _mm_set1_epi8(foldLast ? static_cast<char>(last | 0x20) : last);
    while (lastStart - p >= 15) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 1));
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstMask), firstValue),
                                          _mm_cmpeq_epi8(_mm_or_si128(b, lastMask), lastValue));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask != 0) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
            if (equal(p + bit)) {
                return p + bit;
            }
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    for (; p <= lastStart; ++p) {
        if (equal(p)) {
            return p;
        }
    }
    return nullptr;
}

} // namespace

const char* findBytes(const char* begin, const char* end, std::string_view pattern,
                      bool foldCase) noexcept {
    if (pattern.empty() || end - begin < static_cast<std::ptrdiff_t>(pattern.size())) {
        return nullptr;
    }
    if (!foldCase && pattern.size() == 1) {
        return static_cast<const char*>(
            std::memchr(begin, pattern.front(), static_cast<std::size_t>(end - begin)));
    }
    return findFiltered(begin, end, pattern, foldCase);
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
    const std::string wanted = matchCase ? std::string(pattern) : upperAscii(pattern);
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
        const Pos s = doc_.normalise(caret_);
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
            while (const char* hit = findBytes(from, runEnd, wanted, !matchCase)) {
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
            while (const char* hit = findBytes(from, runEnd, wanted, !matchCase)) {
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
