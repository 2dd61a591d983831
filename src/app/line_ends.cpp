// The line-end repair: one scan over the line feeds to learn what has to change, then one
// pass that writes, shrinking in place or growing from the back.
#include "app/line_ends.h"

#include <cstddef>
#include <cstring>

namespace tavrel {

namespace {

// The number of CRs a run of `run` CRs before an LF keeps after both replacement passes.
[[nodiscard]] std::size_t keptCarriageReturns(std::size_t run) noexcept {
    std::size_t kept = run >= 3 ? run - 2 : run; // CR CR CR LF -> CR LF
    return kept >= 2 ? kept - 1 : kept;          // CR CR LF -> CR LF
}

// Length of the run of CRs that ends just before `lf`, not reaching back past `begin`.
[[nodiscard]] std::size_t crRunBefore(const char* begin, const char* lf) noexcept {
    const char* p = lf;
    while (p > begin && p[-1] == '\r') {
        --p;
    }
    return static_cast<std::size_t>(lf - p);
}

// Calls visit(lf) for every line feed, using memchr, which scans many bytes at a time.
template <typename Visit>
void forEachLineFeed(const char* begin, const char* end, Visit&& visit) {
    const char* p = begin;
    while (p < end) {
        const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (hit == nullptr) {
            return;
        }
        const char* lf = static_cast<const char*>(hit);
        visit(lf);
        p = lf + 1;
    }
}

// The last LF in [begin, end), which the caller knows is there. A backward scan byte by byte
// would be the hot spot of a 100 MB Unix file; glibc's memrchr reads many bytes at a time. It
// is handed a few kilobytes at a time: a checker that inspects every byte it is told about
// (the address sanitizer does) would otherwise make the repair quadratic in the lines.
[[nodiscard]] const char* lastLineFeed([[maybe_unused]] const char* begin,
                                       const char* end) noexcept {
#if defined(__GLIBC__)
    constexpr std::ptrdiff_t kStep = 4096;
    for (const char* stop = end;;) {
        const char* from = stop - begin > kStep ? stop - kStep : begin;
        if (const void* lf = memrchr(from, '\n', static_cast<std::size_t>(stop - from))) {
            return static_cast<const char*>(lf);
        }
        stop = from;
    }
#else
    const char* p = end - 1;
    while (*p != '\n') {
        --p;
    }
    return p;
#endif
}

// Drops the surplus CRs of every run in one forward pass; the write position never passes
// the read position, so the string shrinks in place.
void collapseCarriageReturns(std::string& text) {
    char* const begin = text.data();
    const char* const end = begin + text.size();
    char* out = begin;
    const char* copied = begin; // bytes before this have been written
    forEachLineFeed(begin, end, [&](const char* lf) {
        const std::size_t run = crRunBefore(copied, lf);
        const std::size_t drop = run - keptCarriageReturns(run);
        if (drop == 0) {
            return;
        }
        const char* runStart = lf - run;
        const std::size_t keep = static_cast<std::size_t>(runStart - copied) + (run - drop);
        if (out != copied) {
            std::memmove(out, copied, keep);
        }
        out += keep;
        copied = lf; // the LF itself goes with the next piece
    });
    const std::size_t tail = static_cast<std::size_t>(end - copied);
    if (out != copied) {
        std::memmove(out, copied, tail);
    }
    text.resize(static_cast<std::size_t>(out - begin) + tail);
}

// Turns every LF into CR LF, filling the grown string from its end so that each byte moves
// once.
void expandLineFeeds(std::string& text, std::size_t lineFeeds) {
    const std::size_t oldSize = text.size();
    text.resize(oldSize + lineFeeds);
    char* const begin = text.data();
    const char* read = begin + oldSize;
    char* write = begin + text.size();
    while (lineFeeds > 0) {
        const char* lf = lastLineFeed(begin, read);
        const std::size_t piece = static_cast<std::size_t>(read - lf); // the LF and after it
        write -= piece;
        std::memmove(write, lf, piece);
        *--write = '\r';
        read = lf;
        --lineFeeds;
    }
}

} // namespace

void repairLineEnds(std::string& text) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    bool hasCrLf = false;
    bool collapses = false;
    std::size_t lineFeeds = 0;
    forEachLineFeed(begin, end, [&](const char* lf) {
        ++lineFeeds;
        if (lf > begin && lf[-1] == '\r') {
            hasCrLf = true;
            if (!collapses && lf - 1 > begin && lf[-2] == '\r') {
                collapses = true;
            }
        }
    });
    // The collapse never removes the last CR of a run, so CR LF survives it, and it never
    // makes a new one: whether the text holds CR LF is known before anything changes.
    if (collapses) {
        collapseCarriageReturns(text);
    }
    if (!hasCrLf && lineFeeds > 0) {
        expandLineFeeds(text, lineFeeds);
    }
}

} // namespace tavrel
