// Line breaking and measuring along a line: the wrapping rules, tabs, the fixed-pitch
// shortcut against the general rule, and the wrap width.
#include "editor/line_breaker.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>

#include "editor/layout_test_support.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

using test::breakAll;
using test::unitWidths;
using Lines = std::vector<std::string>;

struct BreakCase {
    const char* name;
    std::string text;
    std::int64_t width;
    Lines expected;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const BreakCase& c, std::ostream* os) {
    *os << c.name;
}

class BreakRules : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakRules, givesTheExpectedLinesOnBothPaths) {
    const BreakCase& c = GetParam();
    EXPECT_EQ(breakAll(c.text, c.width, unitWidths(8, true)), c.expected) << "fixed pitch";
    EXPECT_EQ(breakAll(c.text, c.width, unitWidths(8, false)), c.expected) << "measured";
}

INSTANTIATE_TEST_SUITE_P(
    Wrapping, BreakRules,
    ::testing::Values(BreakCase{"fitsWhole", "hello world", 11, {"hello world"}},
                      BreakCase{"breaksAfterSpace", "hello world", 8, {"hello ", "world"}},
                      BreakCase{"wordEndingAtWidth", "abc def", 3, {"abc ", "def"}},
                      BreakCase{"trailingSpacesStayOnTheirLine", "ab     cd", 4, {"ab     ", "cd"}},
                      BreakCase{"trailingTabsStayOnTheirLine", "ab\t\tcd", 4, {"ab\t\t", "cd"}},
                      BreakCase{"longWordIsCut", "abcdefghij", 4, {"abcd", "efgh", "ij"}},
                      BreakCase{"longWordAfterShortOne", "ab cdefghij", 4, {"ab ", "cdef", "ghij"}},
                      BreakCase{"oneCharacterPerLineWhenNothingFits", "abc", 0, {"a", "b", "c"}},
                      BreakCase{"narrowLineKeepsTrailingBlank", "a b", 0, {"a ", "b"}},
                      BreakCase{"leadingSpacesFormTheirOwnLine", "    abcd", 4, {"    ", "abcd"}},
                      BreakCase{"manyWords", "aa bb cc dd ee", 6, {"aa bb ", "cc dd ", "ee"}},
                      BreakCase{"emptyParagraph", "", 10, {""}}),
    [](const ::testing::TestParamInfo<BreakCase>& p) { return std::string(p.param.name); });

TEST(LineBreaker, fiveHundredCharacterWordWrapsAtTheCharacterThatNoLongerFits) {
    const std::string word(500, 'x');
    const Lines lines = breakAll(word, 80, unitWidths());
    ASSERT_EQ(lines.size(), 7u);
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), 80u);
    }
    EXPECT_EQ(lines.back().size(), 20u);
}

TEST(LineBreaker, tabsAdvanceToTheNextStopFromTheLinesLeftEdge) {
    const GlyphWidths w = unitWidths(8);
    // "a" then a tab to 8, "b" at 8..9: nine units.
    EXPECT_EQ(xOfOffset("a\tb", 0, 3, w), 9);
    // A tab at a stop advances a whole stop.
    EXPECT_EQ(xOfOffset("\tb", 0, 1, w), 8);
    // On the second display line the tab counts from that line's own edge.
    EXPECT_EQ(breakAll("abcdefgh ab\tc", 10, w), (Lines{"abcdefgh ", "ab\tc"}));
    EXPECT_EQ(xOfOffset("abcdefgh ab\tc", 9, 13, w), 9);
}

TEST(LineBreaker, wordThatATabPushesOverTheWidthMovesToTheNextLine) {
    // "ab" (2) + tab (to 8) + "cd" would end at 10 > 9.
    EXPECT_EQ(breakAll("ab\tcd", 9, unitWidths(8)), (Lines{"ab\t", "cd"}));
}

TEST(LineBreaker, proportionalAdvancesAreHonoured) {
    AdvanceTable table;
    table.fill(1);
    table['W'] = 3;
    const TableGlyphMetrics metrics(table, 1, 0);
    GlyphWidths w;
    w.advances = &metrics.advances();
    w.tabWidth = 8;
    w.fixedPitch = metrics.isFixedPitch();
    ASSERT_FALSE(w.fixedPitch);
    EXPECT_EQ(breakAll("WW ii", 6, w), (Lines{"WW ", "ii"}));
    EXPECT_EQ(breakAll("WWW", 7, w), (Lines{"WW", "W"}));
}

// The counting shortcut must give exactly what measuring gives, for any text.
TEST(LineBreaker, fixedPitchShortcutAgreesWithMeasuringOnRandomText) {
    std::mt19937 random(12345);
    const std::string alphabet = "abcdef  \t.-";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 120, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const std::int64_t width = random() % 30;
        const std::int32_t tab = 1 + static_cast<std::int32_t>(random() % 9);
        ASSERT_EQ(breakAll(text, width, unitWidths(tab, true)),
                  breakAll(text, width, unitWidths(tab, false)))
            << "text \"" << text << "\" width " << width << " tab " << tab;
    }
}

// Cells eight pixels wide, as the OEM screen font has them; `measured` takes the general
// path that adds up advances byte by byte.
GlyphWidths cellWidths(std::int32_t tabWidth, bool measured) {
    static const TableGlyphMetrics cells = TableGlyphMetrics::uniform(8, 12, 4);
    GlyphWidths w;
    w.advances = &cells.advances();
    w.tabWidth = tabWidth;
    w.fixedPitch = !measured;
    return w;
}

// Text art's mix: runs of block bytes, words far wider than a line, single and repeated
// blanks, the odd tab, high bytes of every kind.
std::string randomArtText(std::mt19937& random) {
    std::string text;
    const std::size_t size = random() % 1500;
    while (text.size() < size) {
        switch (random() % 6) {
        case 0:
            text.append(1 + random() % 300, static_cast<char>(0x80 + random() % 128));
            break;
        case 1:
            text.append(1 + random() % 4, ' ');
            break;
        case 2:
            text.push_back('\t');
            break;
        default:
            for (std::size_t n = 1 + random() % 9; n > 0; --n) {
                text.push_back(
                    static_cast<char>(random() % 2 ? 'a' + random() % 26 : 0x21 + random() % 0xDF));
            }
            text.push_back(' ');
        }
    }
    text.resize(size);
    return text;
}

TEST(LineBreaker, fixedPitchBreaksEqualMeasuredBreaksOnArtAtEveryColumnWidth) {
    std::mt19937 random(2026);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = randomArtText(random);
        // 1 to 200 columns, sometimes a few pixels more than whole cells.
        const std::int64_t width =
            8 * (1 + random() % 200) + (random() % 3 == 0 ? random() % 8 : 0);
        const std::int32_t tab = 8 * (1 + static_cast<std::int32_t>(random() % 8));
        ASSERT_EQ(breakAll(text, width, cellWidths(tab, false)),
                  breakAll(text, width, cellWidths(tab, true)))
            << "round " << round << " width " << width << " tab " << tab;
    }
}

TEST(LineBreaker, fixedPitchBreaksEqualMeasuredBreaksOnTheCorpus) {
    const auto files = test::corpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "no corpus at " << test::corpusDir();
    }
    std::size_t paragraphs = 0;
    for (const auto& file : files) {
        const std::string bytes = test::readFile(file);
        for (std::size_t start = 0; start < bytes.size();) {
            std::size_t end = bytes.find('\n', start);
            end = end == std::string::npos ? bytes.size() : end;
            std::string_view line(bytes.data() + start, end - start);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            for (const std::int64_t columns : {1, 40, 79, 80, 132}) {
                ASSERT_EQ(breakAll(line, columns * 8, cellWidths(64, false)),
                          breakAll(line, columns * 8, cellWidths(64, true)))
                    << file << " at byte " << start << ", " << columns << " columns";
            }
            ++paragraphs;
            start = end + 1;
        }
    }
    EXPECT_GT(paragraphs, 1000u);
}

// Whatever the text: lines cover it exactly, none is empty, and the part before the
// trailing blanks fits unless the line is a piece of a cut word.
TEST(LineBreaker, linesCoverTheTextAndFitTheWidth) {
    std::mt19937 random(777);
    const std::string alphabet = "abcdefghij    \t";
    const GlyphWidths w = unitWidths(4, false);
    for (int round = 0; round < 2000; ++round) {
        std::string text(1 + random() % 200, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        const std::int64_t width = 1 + random() % 25;
        std::string joined;
        for (const std::string& line : breakAll(text, width, w)) {
            ASSERT_FALSE(line.empty());
            joined += line;
            std::size_t visible = line.size();
            while (visible > 0 && isBlank(line[visible - 1])) {
                --visible;
            }
            const bool cutWord = line.find_first_of(" \t") == std::string::npos;
            if (!cutWord) {
                EXPECT_LE(xOfOffset(line, 0, static_cast<std::int64_t>(visible), w), width)
                    << "line \"" << line << "\" of \"" << text << "\"";
            }
        }
        EXPECT_EQ(joined, text);
    }
}

TEST(LineBreaker, offsetAtXPicksTheNearerCaretPosition) {
    const GlyphWidths w = unitWidths(8);
    AdvanceTable wide;
    wide.fill(10);
    GlyphWidths tenWide = w;
    tenWide.advances = &wide;
    tenWide.tabWidth = 80;
    EXPECT_EQ(offsetAtX("abcd", 0, 4, 14, tenWide), 1);
    EXPECT_EQ(offsetAtX("abcd", 0, 4, 15, tenWide), 2);
    EXPECT_EQ(offsetAtX("abcd", 0, 4, 1000, tenWide), 4);
    EXPECT_EQ(offsetAtX("abcd", 0, 4, -5, tenWide), 0);
    tenWide.fixedPitch = false;
    EXPECT_EQ(offsetAtX("abcd", 0, 4, 14, tenWide), 1);
    EXPECT_EQ(offsetAtX("abcd", 0, 4, 15, tenWide), 2);
    // Within a tab: the left half of the tab cell stays before it.
    EXPECT_EQ(offsetAtX("a\tb", 0, 3, 3, w), 1);
    EXPECT_EQ(offsetAtX("a\tb", 0, 3, 6, w), 2);
}

TEST(LineBreaker, wrapWidthFollowsWordWrapAndColumnWrap) {
    EXPECT_EQ(wrapWidth(false, 0, 700, 8, 8, 8), kUnlimitedWidth);
    EXPECT_EQ(wrapWidth(true, 0, 700, 8, 8, 8), 684);
    EXPECT_EQ(wrapWidth(true, 80, 700, 8, 8, 9), 720);   // characters of the space width
    EXPECT_EQ(wrapWidth(true, -300, 700, 8, 8, 8), 300); // pixels
    EXPECT_EQ(wrapWidth(true, 0, 10, 8, 8, 8), 1);       // never below one pixel
}

} // namespace
} // namespace tavrel
