// Windows-1252 conversions and the byte case table, checked over the whole byte range
// against expectations written out independently of the tables.
#include "text/ascii_case.h"
#include "text/byte_case.h"
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

std::string allBytes() {
    std::string s;
    for (int i = 0; i < 256; ++i) {
        s.push_back(static_cast<char>(i));
    }
    return s;
}

TEST(CodePage, bytesMapToTheirCharacters) {
    EXPECT_EQ(codePageByteToWide(0x41), u'A');
    EXPECT_EQ(codePageByteToWide(0x80), u'\u20AC');
    EXPECT_EQ(codePageByteToWide(0x8A), u'\u0160');
    EXPECT_EQ(codePageByteToWide(0x96), u'\u2013');
    EXPECT_EQ(codePageByteToWide(0x9F), u'\u0178');
    EXPECT_EQ(codePageByteToWide(0xA0), u'\u00A0');
    EXPECT_EQ(codePageByteToWide(0xFF), u'\u00FF');
    for (const unsigned char undefinedByte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(codePageByteToWide(undefinedByte), char16_t{undefinedByte});
    }
}

TEST(CodePage, everyByteRoundTripsExactly) {
    const std::string bytes = allBytes();
    const std::u16string wide = codePageToWide(bytes);
    ASSERT_EQ(wide.size(), 256u);
    EXPECT_EQ(wideToCodePage(wide), bytes);
    for (int i = 0; i < 256; ++i) {
        const auto byte = wideToCodePageByte(wide[i]);
        ASSERT_TRUE(byte.has_value()) << i;
        EXPECT_EQ(*byte, i);
    }
}

TEST(CodePage, missingCharactersGetBestFitOrQuestionMark) {
    EXPECT_EQ(wideToCodePage(u"\u0141\u00F3d\u017A"), "L\xF3"
                                                      "dz");
    EXPECT_EQ(wideToCodePage(u"Nguy\u1EC5n"), "Nguyen");
    EXPECT_EQ(wideToCodePage(u"\uFF21\uFF42"), "Ab");
    EXPECT_EQ(wideToCodePage(u"a\u2010b\u2212c"), "a-b-c");
    EXPECT_EQ(wideToCodePage(u"\uFFFD\u4E2D\u0080\u0391"), "????");
    EXPECT_FALSE(wideToCodePageByte(u'\u0080').has_value());
}

// Written from the layout of Windows-1252, not from the Unicode tables the code uses.
unsigned char expectedUpper(unsigned char b) {
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
        return b - 0x20;
    }
    switch (b) {
    case 0x9A:
        return 0x8A; // s caron
    case 0x9C:
        return 0x8C; // oe
    case 0x9E:
        return 0x8E; // z caron
    case 0xFF:
        return 0x9F; // y diaeresis
    default:
        return b;
    }
}

unsigned char expectedLower(unsigned char b) {
    if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7)) {
        return b + 0x20;
    }
    switch (b) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return b;
    }
}

TEST(ByteCaseTable, matchesTheCodePageOverTheWholeByteRange) {
    const ByteCaseTable& table = byteCaseTable();
    for (int i = 0; i < 256; ++i) {
        const auto b = static_cast<unsigned char>(i);
        EXPECT_EQ(table.upper[b], expectedUpper(b)) << "upper of byte " << i;
        EXPECT_EQ(table.lower[b], expectedLower(b)) << "lower of byte " << i;
    }
}

// Setting sections, keys and colour names compare through the same table: accented capitals
// and the four capitals outside Latin-1 meet their small letters, while the signs that break
// the Latin-1 runs and the sharp s only ever equal themselves.
TEST(ByteCaseTable, comparisonIgnoringCaseFoldsEveryWindows1252Capital) {
    EXPECT_TRUE(equalsIgnoringCase("Colors", "cOLORS"));
    EXPECT_TRUE(equalsIgnoringCase("\xC0\xC9\xD6\xD8\xDE", "\xE0\xE9\xF6\xF8\xFE"));
    EXPECT_TRUE(equalsIgnoringCase("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"));
    EXPECT_FALSE(equalsIgnoringCase("\xD7", "\xF7")); // multiplication and division signs
    EXPECT_FALSE(equalsIgnoringCase("\xDF", "ss"));
    EXPECT_FALSE(equalsIgnoringCase("\xDF", "S"));
    EXPECT_FALSE(equalsIgnoringCase("@", "`")); // 0x40 and 0x60 differ by the case bit only
    EXPECT_FALSE(equalsIgnoringCase("Color", "Colors"));
    EXPECT_TRUE(equalsIgnoringCase("", ""));
}

TEST(AsciiCase, foldsOnlyTheTwentySixLetters) {
    for (int i = 0; i < 256; ++i) {
        const auto c = static_cast<char>(i);
        const bool small = i >= 'a' && i <= 'z';
        const bool capital = i >= 'A' && i <= 'Z';
        EXPECT_EQ(upperAscii(c), small ? static_cast<char>(i - 32) : c) << "byte " << i;
        EXPECT_EQ(lowerAscii(c), capital ? static_cast<char>(i + 32) : c) << "byte " << i;
    }
    EXPECT_EQ(upperAscii(std::string_view("a\xE9z{")), "A\xE9Z{");
}

} // namespace
} // namespace tavrel
