// The Windows-1252 tables: the upper half of the byte table, the reverse lookup and the
// best-fit fallbacks used when converting text that the code page cannot hold.
#include "text/code_page.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>

namespace tavrel {
namespace {

// Bytes 0x80-0x9F; the rest of the code page is identical to ISO 8859-1 (byte == code
// point). The unassigned bytes keep their own value, as Windows converts them.
constexpr std::array<char16_t, 32> highControlsBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Best fit for the Latin extension blocks: each character's base letter from its canonical
// decomposition (plus the letters with a stroke, which have none), '.' where there is none.
// Users paste Polish, Czech or Vietnamese names; "Lodz" reads better than "?od?".
constexpr char16_t latinExtendedFirst = 0x0100;
constexpr std::string_view latinExtendedFit =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi..JjKk.LlLlLl." // U+0100
    ".LlNnNnNn...OoOoOo..RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz." // U+0140
    "b......................I........Oo.............Uu....Zz........." // U+0180
    ".............AaIiOoUuUuUuUuUu.AaAa..GgGgKkOoOo..j...Gg..NnAa...." // U+01C0
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt..Hh......AaEeOoOoOoOoYy......ACc.T." // U+0200
    "......EeJj..RrYy";                                                // U+0240

constexpr char16_t latinAdditionalFirst = 0x1E00;
constexpr std::string_view latinAdditionalFit =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"  // U+1E00
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"  // U+1E40
    "WwWwWwWwWwXxXxYyZzZzZzhtwy......AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"  // U+1E80
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy......"; // U+1EC0

struct Fit {
    char16_t ch;
    char byte;
};

// Punctuation and symbols with an obvious stand-in, sorted by character.
constexpr std::array<Fit, 26> symbolFit = {{
    {0x2000, ' '}, {0x2001, ' '}, {0x2002, ' '},  {0x2003, ' '}, {0x2004, ' '}, {0x2005, ' '},
    {0x2006, ' '}, {0x2007, ' '}, {0x2008, ' '},  {0x2009, ' '}, {0x200A, ' '}, {0x2010, '-'},
    {0x2011, '-'}, {0x2012, '-'}, {0x2032, '\''}, {0x2033, '"'}, {0x2035, '`'}, {0x2044, '/'},
    {0x2212, '-'}, {0x2215, '/'}, {0x2216, '\\'}, {0x2217, '*'}, {0x2223, '|'}, {0x2236, ':'},
    {0x223C, '~'}, {0x3000, ' '},
}};

std::optional<char> tableFit(char16_t ch, char16_t first, std::string_view table) noexcept {
    if (ch < first || static_cast<std::size_t>(ch - first) >= table.size()) {
        return std::nullopt;
    }
    const char c = table[ch - first];
    return c == '.' ? std::nullopt : std::optional<char>(c);
}

char bestFit(char16_t ch) noexcept {
    if (auto c = tableFit(ch, latinExtendedFirst, latinExtendedFit)) {
        return *c;
    }
    if (auto c = tableFit(ch, latinAdditionalFirst, latinAdditionalFit)) {
        return *c;
    }
    // Fullwidth forms of the printable ASCII characters.
    if (ch >= 0xFF01 && ch <= 0xFF5E) {
        return static_cast<char>(ch - 0xFEE0);
    }
    const auto it = std::lower_bound(symbolFit.begin(), symbolFit.end(), ch,
                                     [](const Fit& f, char16_t c) { return f.ch < c; });
    if (it != symbolFit.end() && it->ch == ch) {
        return it->byte;
    }
    return codePageDefaultChar;
}

} // namespace

char16_t codePageByteToWide(unsigned char byte) noexcept {
    if (byte >= 0x80 && byte < 0xA0) {
        return highControlsBlock[byte - 0x80];
    }
    return byte;
}

std::optional<unsigned char> wideToCodePageByte(char16_t ch) noexcept {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return static_cast<unsigned char>(ch);
    }
    const auto it = std::find(highControlsBlock.begin(), highControlsBlock.end(), ch);
    if (it != highControlsBlock.end()) {
        return static_cast<unsigned char>(0x80 + std::distance(highControlsBlock.begin(), it));
    }
    return std::nullopt;
}

std::u16string codePageToWide(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        out.push_back(codePageByteToWide(static_cast<unsigned char>(b)));
    }
    return out;
}

std::string wideToCodePage(std::u16string_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (const char16_t ch : wide) {
        if (const auto b = wideToCodePageByte(ch)) {
            out.push_back(static_cast<char>(*b));
        } else {
            out.push_back(bestFit(ch));
        }
    }
    return out;
}

} // namespace tavrel
