// The code page 437 table: the symbol glyphs of the control bytes and a few landmarks.
#include "text/cp437.h"

#include <gtest/gtest.h>

#include <set>

namespace tavrel {
namespace {

TEST(Cp437, controlBytesShowTheirSymbols) {
    const char16_t expected[33] = u" ☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼";
    for (int b = 1; b < 32; ++b) {
        EXPECT_EQ(cp437ToUnicode(static_cast<std::uint8_t>(b)), expected[b]) << "byte " << b;
    }
    EXPECT_EQ(cp437ToUnicode(127), u'⌂');
}

TEST(Cp437, landmarksOfTheUpperHalf) {
    struct Case {
        std::uint8_t byte;
        char16_t glyph;
    };
    for (const Case c : {Case{128, u'Ç'}, Case{158, u'₧'}, Case{169, u'⌐'}, Case{176, u'░'},
                         Case{179, u'│'}, Case{201, u'╔'}, Case{206, u'╬'}, Case{219, u'█'},
                         Case{223, u'▀'}, Case{224, u'α'}, Case{227, u'π'}, Case{249, u'∙'},
                         Case{250, u'·'}, Case{254, u'■'}, Case{255, u'\u00A0'}}) {
        EXPECT_EQ(cp437ToUnicode(c.byte), c.glyph) << "byte " << int(c.byte);
    }
}

TEST(Cp437, asciiIsItselfAndEveryGlyphIsDistinct) {
    for (int b = 32; b < 127; ++b) {
        EXPECT_EQ(cp437ToUnicode(static_cast<std::uint8_t>(b)), static_cast<char16_t>(b));
    }
    std::set<char16_t> seen;
    for (int b = 1; b < 256; ++b) {
        EXPECT_TRUE(seen.insert(cp437ToUnicode(static_cast<std::uint8_t>(b))).second)
            << "byte " << b << " repeats another glyph";
    }
}

TEST(Cp437, cellShapesAreTheBlockAndLineCharacters) {
    EXPECT_FALSE(isCellShape(175));
    EXPECT_TRUE(isCellShape(176));
    EXPECT_TRUE(isCellShape(223));
    EXPECT_FALSE(isCellShape(224));
    EXPECT_TRUE(isCellShape(254));
}

} // namespace
} // namespace tavrel
