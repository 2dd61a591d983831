// The colour and font text forms: names against "$" hexadecimal, and the font parser's
// field rules including its failures.
#include "settings/color_text.h"
#include "settings/font_text.h"
#include "settings/number_text.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tavrel {
namespace {

TEST(ColorText, namedColoursAreWrittenByNameAndReadBack) {
    const struct {
        Color value;
        const char* text;
    } cases[] = {
        {0x00000000, "clBlack"},      {0x00FF0000, "clBlue"},
        {0x000000FF, "clRed"},        {0x00FFFFFF, "clWhite"},
        {0x00C0C0C0, "clSilver"},     {0x80000000, "clScrollBar"},
        {0x80000008, "clWindowText"}, {0x80000013, "clInactiveCaptionText"},
        {0x80000018, "clInfoBk"},     {0x004A0000, "$004A0000"},
        {0x80000019, "$80000019"},    {0x00ABCDEF, "$00ABCDEF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(colorToText(c.value), c.text);
        EXPECT_EQ(parseColorText(c.text), c.value) << c.text;
    }
}

TEST(ColorText, fortyOneNamesEachStandForOneValue) {
    // Every value a name could stand for: channels from the standard palette's levels, and
    // the system colours with some indexes beyond the last one.
    std::vector<Color> candidates;
    for (const std::uint8_t r : {0x00, 0x80, 0xC0, 0xFF}) {
        for (const std::uint8_t g : {0x00, 0x80, 0xC0, 0xFF}) {
            for (const std::uint8_t b : {0x00, 0x80, 0xC0, 0xFF}) {
                candidates.push_back(rgbColor(r, g, b));
            }
        }
    }
    for (Color index = 0; index < 32; ++index) {
        candidates.push_back(kSystemColorBase + index);
    }
    std::set<std::string> names;
    for (const Color value : candidates) {
        const std::string text = colorToText(value);
        if (text.front() != '$') {
            EXPECT_TRUE(names.insert(text).second) << text;
        }
        EXPECT_EQ(parseColorText(text), value) << text;
    }
    EXPECT_EQ(names.size(), 41u);
}

TEST(ColorText, readingAcceptsAnyLetterCaseAndIntegers) {
    EXPECT_EQ(parseColorText("clwhite"), 0x00FFFFFFu);
    EXPECT_EQ(parseColorText("CLBTNFACE"), 0x8000000Fu);
    EXPECT_EQ(parseColorText("$00ff0000"), 0x00FF0000u);
    EXPECT_EQ(parseColorText("255"), 0x000000FFu);
    EXPECT_EQ(parseColorText("-1"), 0xFFFFFFFFu);
    for (const char* bad : {"", "clWhitey", "White", "$", "0x10", "12 ", "$1FFFFFFFF"}) {
        EXPECT_FALSE(parseColorText(bad)) << bad;
    }
}

TEST(NumberText, integerTextsAreStrict) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"-8", -8},
        {"+7", 7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$1F", 31},
        {"$1f", 31},
        {"-$1F", -31},
        {"$FFFFFFFF", -1},
        {"$80000005", static_cast<std::int32_t>(0x80000005u)},
        {"$100000000", std::nullopt},
        {"1F", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseInteger(c.text), c.value) << c.text;
    }
    EXPECT_FALSE(parseDecimal("$1F"));
    EXPECT_EQ(parseDecimal("-12"), -12);
}

TEST(FontText, writtenWithFaceSizeStyleDigitsAndColour) {
    FontSpec font{"TavrelLarge", 9, false, false, false, false, 0x00FFFFFF};
    EXPECT_EQ(fontToText(font), "TavrelLarge,9,0000,clWhite");
    font = {"Courier New", 12, true, false, true, false, 0x004A0000};
    EXPECT_EQ(fontToText(font), "Courier New,12,1010,$004A0000");
}

TEST(FontText, parsedFieldByField) {
    FontSpec font;
    parseFontText("Arial,10,1001,clRed", font);
    EXPECT_EQ(font, (FontSpec{"Arial", 10, true, false, false, true, 0x000000FF}));
    // Only "1" sets a style; the face keeps its spaces and may be empty.
    parseFontText(" Lucida Console ,-11,x1y1,$00000010", font);
    EXPECT_EQ(font, (FontSpec{" Lucida Console ", -11, false, true, false, true, 0x10}));
    parseFontText(",8,0000,clinfobk", font);
    EXPECT_EQ(font, (FontSpec{"", 8, false, false, false, false, 0x80000018}));
}

TEST(FontText, malformedTextsRaiseTheConversionError) {
    for (const char* bad :
         {"Arial,10,101,clRed", "Arial10", "Arial,x,0000,clRed", "Arial,10", "Arial,10,00000,clRed",
          "Arial,10,0000,", "Arial,10,0000,nocolour", "Arial,10,0000", ""}) {
        FontSpec font;
        try {
            parseFontText(bad, font);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const FontConversionError& error) {
            EXPECT_STREQ(error.what(), "Invalid string to font conversion");
        }
    }
}

} // namespace
} // namespace tavrel
