// SearchText and the byte finder under it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/search.h"
#include "editor/text_engine.h"

namespace tavrel {
namespace {

TEST(SearchText, forwardWalksThroughOccurrencesWithoutWrapping) {
    TextEngine e;
    e.loadBytes("cat cat\r\ncat");
    e.setSelStart(e.charCount());
    ASSERT_TRUE(e.searchText("cat", true, true, false, false)); // from the top
    EXPECT_EQ(e.selStart(), 3);
    EXPECT_EQ(e.selLength(), -3);
    ASSERT_TRUE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selStart(), 7);
    ASSERT_TRUE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selStart(), 12);
    EXPECT_FALSE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selStart(), 12); // unchanged
    EXPECT_EQ(e.selLength(), -3);
}

TEST(SearchText, backwardFindsTheLastCandidateBeforeTheCaret) {
    TextEngine e;
    e.loadBytes("aaa\r\nxaax");
    e.setSelStart(e.charCount());
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selStart(), 6);
    EXPECT_EQ(e.selLength(), 2);
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selStart(), 1); // overlapping occurrences are seen
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selStart(), 0);
    EXPECT_FALSE(e.searchText("aa", false, false, false, false));
    ASSERT_TRUE(e.searchText("x", false, true, false, false)); // from the end
    EXPECT_EQ(e.selStart(), 8);
}

TEST(SearchText, oneCharacterTwiceInARowIsFoundAtBothPlaces) {
    TextEngine e;
    e.loadBytes("xzzx");
    ASSERT_TRUE(e.searchText("z", true, true, false, true));
    EXPECT_EQ(e.selStart(), 2);
    ASSERT_TRUE(e.searchText("z", true, false, false, true));
    EXPECT_EQ(e.selStart(), 3);
}

TEST(SearchText, wholeWordsAndCaseFolding) {
    struct Case {
        const char* text;
        const char* pattern;
        bool wholeWord;
        bool matchCase;
        Pos expectedStart; // -1: not found
    };
    const Case cases[] = {
        {"concat cat", "cat", true, false, 7},
        {"cat.", "cat", true, false, 0},
        {"cat-x", "cat", true, false, -1},
        {"(cat)", "cat", true, false, -1},
        {"$cat>", "cat", true, false, 1},
        {"catcat cat", "cat", true, false, 7}, // a rejected candidate does not end the search
        {"CAT", "cat", false, false, 0},
        {"CAT", "cat", false, true, -1},
        {"\xE9t\xE9", "\xC9T\xC9", false, false, -1}, // only a-z fold
        {"ab\r\ncd", "b\r\nc", false, false, -1},     // never across a break
        {"abc", "", false, false, -1},
        {"ab", "abc", false, false, -1},
        {"[x]", "{X}", false, false, -1}, // no folding of punctuation
        {"x@y", "X`Y", false, false, -1},
    };
    for (const Case& c : cases) {
        TextEngine e;
        e.loadBytes(c.text);
        const bool found = e.searchText(c.pattern, true, true, c.wholeWord, c.matchCase);
        EXPECT_EQ(found, c.expectedStart >= 0) << c.text << " / " << c.pattern;
        if (found) {
            EXPECT_EQ(e.selStart() + e.selLength(), c.expectedStart) << c.text;
        }
    }
}

TEST(SearchText, findsInEditedAndUneditedParagraphsAlike) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "line number " + std::to_string(i) + "\n";
    }
    TextEngine e;
    e.loadBytes(std::move(text));
    e.setSelStart(e.document().paragraphStart(1500) + 2);
    e.setSelText("NEEDLE");
    e.setSelStart(e.document().paragraphStart(2999));
    e.setSelText("needle");
    ASSERT_TRUE(e.searchText("needle", true, true, false, false));
    EXPECT_EQ(e.caretParagraph(), 1500);
    ASSERT_TRUE(e.searchText("needle", true, false, false, false));
    EXPECT_EQ(e.caretParagraph(), 2999);
    ASSERT_TRUE(e.searchText("number 2998", false, false, false, true));
    EXPECT_EQ(e.caretParagraph(), 2998);
    ASSERT_TRUE(e.searchText("NEEDLE", false, false, false, true));
    EXPECT_EQ(e.caretParagraph(), 1500);
}

// The finder agrees with a plain scan on random text, folded and not, at every alignment.
TEST(FindBytes, agreesWithANaiveScan) {
    std::mt19937 random(7);
    const std::string alphabet = "aAbB@`[{ z";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 80, ' ');
        for (char& c : text) {
            c = alphabet[random() % alphabet.size()];
        }
        std::string pattern(1 + random() % 4, ' ');
        for (char& c : pattern) {
            c = alphabet[random() % alphabet.size()];
        }
        for (const bool fold : {false, true}) {
            const std::string p = fold ? upperAscii(pattern) : pattern;
            const char* expected = nullptr;
            for (std::size_t i = 0; i + p.size() <= text.size() && expected == nullptr; ++i) {
                bool same = true;
                for (std::size_t k = 0; k < p.size(); ++k) {
                    const char t = fold ? upperAscii(text[i + k]) : text[i + k];
                    same = same && t == p[k];
                }
                if (same) {
                    expected = text.data() + i;
                }
            }
            EXPECT_EQ(findBytes(text.data(), text.data() + text.size(), p, fold), expected)
                << text << " / " << p << " fold " << fold;
        }
    }
}

} // namespace
} // namespace tavrel
