// The UTF-8 codec byte for byte: it is deliberately lenient, so every rule of the decoder
// (sequence lengths, how far an invalid sequence advances, the U+FFFF ceiling) is pinned.
#include "text/utf8_codec.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tavrel {
namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string wide;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class Utf8DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8DecodeTest, decodesExactly) {
    EXPECT_EQ(utf8ToWide(GetParam().bytes), GetParam().wide);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Utf8DecodeTest,
    ::testing::Values(
        DecodeCase{"empty", "", u""}, DecodeCase{"ascii", "Tavrel", u"Tavrel"},
        DecodeCase{"nulKept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        DecodeCase{"twoByte", "\xC3\xA9", u"\u00E9"},
        DecodeCase{"threeByte", "\xE2\x82\xAC", u"\u20AC"},
        DecodeCase{"highestBmp", "\xEF\xBF\xBF", u"\uFFFF"},
        // A broken sequence skips only the lead, so the 'A' that broke it survives.
        DecodeCase{"brokenAfterLead", "\xE2\x41",
                   u"\uFFFD"
                   u"A"},
        // Broken at the third byte: the lead and the accepted continuation go together.
        DecodeCase{"brokenAfterOneContinuation", "\xE2\x82\x41",
                   u"\uFFFD"
                   u"A"},
        DecodeCase{"fourByteBrokenAtThird", "\xF0\x9F\x41\x42",
                   u"\uFFFD"
                   u"AB"},
        // Too few bytes left: each byte becomes its own invalid sequence.
        DecodeCase{"cutAtEnd", "\xE2\x82", u"\uFFFD\uFFFD"},
        DecodeCase{"fourCutAtEnd", "x\xF0\x9F\x98", u"x\uFFFD\uFFFD\uFFFD"},
        DecodeCase{"loneContinuation", "\xA9", u"\uFFFD"},
        DecodeCase{"invalidLeads", "\xFE\xFF", u"\uFFFD\uFFFD"},
        // Values above U+FFFF are one replacement, not a surrogate pair.
        DecodeCase{"emoji", "\xF0\x9F\x98\x80", u"\uFFFD"},
        DecodeCase{"fiveByteLead", "\xF8\x88\x80\x80\x80Z", u"\uFFFDZ"},
        DecodeCase{"sixByteLead", "\xFC\x84\x80\x80\x80\x80Z", u"\uFFFDZ"},
        // Overlong forms and encoded surrogates are accepted with their value.
        DecodeCase{"overlongNul", "\xC0\x80", std::u16string(1, u'\0')},
        DecodeCase{"overlongA", "\xC1\x81", u"A"},
        DecodeCase{"overlongThreeByte", "\xE0\x80\xAF", u"/"},
        DecodeCase{"encodedSurrogate", "\xED\xA0\x80", std::u16string(1, char16_t{0xD800})}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(Utf8Codec, encodesEachUnitOnItsOwn) {
    EXPECT_EQ(wideToUtf8(u""), "");
    EXPECT_EQ(wideToUtf8(u"A"), "A");
    EXPECT_EQ(wideToUtf8(std::u16string(1, u'\0')), std::string(1, '\0'));
    EXPECT_EQ(wideToUtf8(u"\u007F\u0080"), "\x7F\xC2\x80");
    EXPECT_EQ(wideToUtf8(u"\u07FF\u0800"), "\xDF\xBF\xE0\xA0\x80");
    EXPECT_EQ(wideToUtf8(u"\u00E9\u20AC\uFFFF"), "\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBF");
    // A surrogate pair is two three-byte sequences, never one four-byte sequence.
    EXPECT_EQ(wideToUtf8(u"\U0001F600"), "\xED\xA0\xBD\xED\xB8\x80");
}

TEST(Utf8Codec, everyCodeUnitRoundTrips) {
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const std::u16string one(1, static_cast<char16_t>(u));
        ASSERT_EQ(utf8ToWide(wideToUtf8(one)), one) << "unit " << u;
    }
}

TEST(Utf8Codec, neverProducesMoreUnitsThanBytes) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
        bytes.push_back(static_cast<char>(255 - i));
    }
    const std::u16string wide = utf8ToWide(bytes);
    EXPECT_LE(wide.size(), bytes.size());
    EXPECT_EQ(wide.front(), u'\0');
}

} // namespace
} // namespace tavrel
