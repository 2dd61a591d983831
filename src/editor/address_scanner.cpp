// The address scan. It is on the hot path of opening a file (every painted paragraph goes
// through it), so each byte costs one table look-up unless it can begin an address.
#include "editor/address_scanner.h"

#include <algorithm>

namespace tavrel {

namespace {

struct ByteClasses {
    std::array<std::uint8_t, 256> delimiter{};
    std::array<std::uint8_t, 256> prefixStart{}; // first letter of a prefix literal, either case
    // The prefix rows that begin with each upper-case letter, in table order, -1 ended.
    std::array<std::array<std::int8_t, 4>, 256> rowsByFirst{};

    constexpr ByteClasses() {
        for (int c = 0; c < 256; ++c) {
            delimiter[static_cast<std::size_t>(c)] =
                isUrlDelimiter(static_cast<unsigned char>(c)) ? 1 : 0;
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

[[nodiscard]] bool delimiterAt(std::string_view text, Pos i) noexcept {
    return kClasses.delimiter[static_cast<unsigned char>(text[static_cast<std::size_t>(i)])];
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
[[nodiscard]] int rowAt(std::string_view text, Pos m) noexcept {
    const auto n = static_cast<Pos>(text.size());
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(m)]);
    const bool afterDelimiter = m == 0 || delimiterAt(text, m - 1);
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
        if (after >= n || delimiterAt(text, after)) {
            continue; // nothing, or a delimiter, right after the literal
        }
        return row;
    }
    return -1;
}

} // namespace

void findAddresses(std::string_view text, Pos from, Pos to, const AddressScan& scan,
                   std::vector<FoundAddress>& out) {
    const auto n = static_cast<Pos>(text.size());
    from = std::max<Pos>(from, 0);
    to = std::min(to, n);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    // The hot loop of opening a file. A prefix literal can only begin a word and the infix
    // one is the rare "@"; the test is built without branches, as a branch on every letter
    // that may begin a literal would be mispredicted all through ordinary text.
    std::uint8_t afterDelimiter = from == 0 ? 1 : kClasses.delimiter[bytes[from - 1]];
    for (Pos m = from; m < to; ++m) {
        const unsigned char c = bytes[m];
        const std::uint8_t candidate =
            static_cast<std::uint8_t>((kClasses.prefixStart[c] & afterDelimiter) | (c == '@'));
        afterDelimiter = kClasses.delimiter[c];
        if (candidate == 0) {
            continue;
        }
        const int row = rowAt(text, m);
        if (row < 0) {
            continue;
        }
        const UrlPattern& p = kUrlPatterns[static_cast<std::size_t>(row)];
        Pos start = m;
        if (p.infix) {
            while (start > 0 && !delimiterAt(text, start - 1)) {
                --start;
            }
        }
        Pos end = m + static_cast<Pos>(p.literal.size());
        while (end < n && !delimiterAt(text, end)) {
            ++end;
        }
        while (end - start > 1) {
            const char last = text[static_cast<std::size_t>(end - 1)];
            if (last != ',' && last != '.' && last != ';') {
                break;
            }
            --end;
        }
        if (!scan.priority && scan.existing != nullptr && !scan.existing->empty() &&
            runIndexAt(*scan.existing, start) != runIndexAt(*scan.existing, end - 1)) {
            continue;
        }
        // Runs do not nest here, so the limit of nested contexts at a run is never reached.
        const FoundAddress found{start, std::min(end - start, kMaxRunLength), row};
        if (scan.accept != nullptr && *scan.accept && !(*scan.accept)(found)) {
            continue;
        }
        out.push_back(found);
        // Go on right after the address (a cut one may end before its own "@").
        m = std::max(m, found.start + found.length - 1);
        afterDelimiter = kClasses.delimiter[bytes[m]];
    }
}

} // namespace tavrel
