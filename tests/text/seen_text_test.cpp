// The clipboard's text in the glyphs the display draws, with the expected characters
// written out by hand from the PC's and Windows' character charts.
#include "text/seen_text.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(SeenTextTest, artCopiesAsItsGlyphsAndPastesBackToItsBytes) {
    const std::string art = "\xDB\xB2\xB1\xB0 \xC9\xCD\xBB\x01\x03\x7F\t\xFE\r\n\x82";
    const std::u16string seen = u"\u2588\u2593\u2592\u2591 \u2554\u2550\u2557\u263A\u2665"
                                u"\u2302\t\u25A0\r\n\u00E9";
    EXPECT_EQ(bytesAsSeen(art, ByteGlyphs::Cp437), seen);
    EXPECT_EQ(bytesFromSeen(seen, ByteGlyphs::Cp437), art);
}

TEST(SeenTextTest, aNulIsTheBlankItIsDrawnAsNeverTheEndOfTheText) {
    EXPECT_EQ(bytesAsSeen(std::string("\0a\0", 3), ByteGlyphs::Cp437), u" a ");
    EXPECT_EQ(bytesAsSeen(std::string("\0a\0", 3), ByteGlyphs::Windows1252), u" a ");
}

TEST(SeenTextTest, windows1252ShowsLatinLettersAndKeepsThePcGlyphsBelow32) {
    EXPECT_EQ(bytesAsSeen("Gr\xFC\xDF"
                          "e\x01",
                          ByteGlyphs::Windows1252),
              u"Gr\u00FC\u00DFe\u263A");
    EXPECT_EQ(bytesAsSeen("Gr\xFC\xDF"
                          "e",
                          ByteGlyphs::Cp437),
              u"Gr\u207F\u2580e");
    EXPECT_EQ(bytesFromSeen(u"Gr\u00FC\u00DFe\u263A", ByteGlyphs::Windows1252), "Gr\xFC\xDF"
                                                                                "e\x01");
}

TEST(SeenTextTest, textWithoutGlyphsPastesAsWindows1252WithBestFit) {
    // The euro sign has no code page 437 glyph: its Windows-1252 byte. A CJK character and a
    // character beyond 16 bits have neither: one '?' each.
    EXPECT_EQ(bytesFromSeen(u"\u20AC\u4E2D\U0001F600!", ByteGlyphs::Cp437), "\x80?"
                                                                            "?!");
    // A letter code page 437 has takes its code page 437 byte, not its Windows-1252 one.
    EXPECT_EQ(bytesFromSeen(u"\u00E9\u00C4", ByteGlyphs::Cp437), "\x82\x8E");
    EXPECT_EQ(bytesFromSeen(u"\u00E9\u00C4", ByteGlyphs::Windows1252), "\xE9\xC4");
}

} // namespace
} // namespace tavrel
