// Derives the byte case table from a small excerpt of the Unicode simple case mappings: the
// mappings of every character that Windows-1252 holds, and nothing else.
#include "text/byte_case.h"

#include "text/code_page.h"

#include <cstddef>

namespace tavrel {
namespace {

/// A run of characters whose simple case partner lies a fixed distance away.
struct CaseRange {
    char16_t first;
    char16_t last;
    int delta;
};

/// A single character and its partner.
struct CasePair {
    char16_t from;
    char16_t to;
};

// Lower to upper case. U+00F7 (division sign) breaks the Latin-1 run; U+00DF (sharp s) has
// no simple upper-case mapping. The micro sign's partner is the Greek capital mu and the
// hooked f's is U+0191: neither is in the code page, so both bytes stay unchanged.
constexpr CaseRange upperRanges[] = {
    {u'a', u'z', -0x20}, {0x00E0, 0x00F6, -0x20}, {0x00F8, 0x00FE, -0x20}};
constexpr CasePair upperPairs[] = {{0x00B5, 0x039C}, {0x00FF, 0x0178}, {0x0153, 0x0152},
                                   {0x0161, 0x0160}, {0x017E, 0x017D}, {0x0192, 0x0191}};

// Upper to lower case. U+00D7 (multiplication sign) breaks the Latin-1 run.
constexpr CaseRange lowerRanges[] = {
    {u'A', u'Z', 0x20}, {0x00C0, 0x00D6, 0x20}, {0x00D8, 0x00DE, 0x20}};
constexpr CasePair lowerPairs[] = {
    {0x0152, 0x0153}, {0x0160, 0x0161}, {0x0178, 0x00FF}, {0x017D, 0x017E}};

template <std::size_t R, std::size_t P>
char16_t mapCase(char16_t ch, const CaseRange (&ranges)[R], const CasePair (&pairs)[P]) {
    for (const auto& r : ranges) {
        if (ch >= r.first && ch <= r.last) {
            return static_cast<char16_t>(ch + r.delta);
        }
    }
    for (const auto& p : pairs) {
        if (p.from == ch) {
            return p.to;
        }
    }
    return ch;
}

unsigned char partnerByte(unsigned char byte, char16_t partner) noexcept {
    const auto b = wideToCodePageByte(partner);
    return b ? *b : byte;
}

} // namespace

ByteCaseTable buildByteCaseTable() noexcept {
    ByteCaseTable table;
    for (int i = 0; i < 256; ++i) {
        const auto byte = static_cast<unsigned char>(i);
        const char16_t ch = codePageByteToWide(byte);
        table.lower[byte] = partnerByte(byte, mapCase(ch, lowerRanges, lowerPairs));
        table.upper[byte] = partnerByte(byte, mapCase(ch, upperRanges, upperPairs));
    }
    return table;
}

const ByteCaseTable& byteCaseTable() noexcept {
    static const ByteCaseTable table = buildByteCaseTable();
    return table;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) {
        return false;
    }
    const auto& lower = byteCaseTable().lower;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower[static_cast<unsigned char>(a[i])] != lower[static_cast<unsigned char>(b[i])]) {
            return false;
        }
    }
    return true;
}

} // namespace tavrel
