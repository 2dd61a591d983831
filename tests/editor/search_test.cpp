// SearchText and the byte finder under it.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/search.h"
#include "editor/text_engine.h"

namespace tavrel {
namespace {

TEST(SearchText, forwardWalksThroughOccurrencesWithoutWrapping) {
    TextEngine e;
    e.loadBytes("cat cat\r\ncat");
    e.setSelStart(e.charCount());
    ASSERT_TRUE(e.searchText("cat", true, true, false, false)); // from the top
    EXPECT_EQ(e.selection().caret(), 3);
    EXPECT_EQ(e.selection().length(), -3);
    ASSERT_TRUE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selection().caret(), 7);
    ASSERT_TRUE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selection().caret(), 12);
    EXPECT_FALSE(e.searchText("cat", true, false, false, false));
    EXPECT_EQ(e.selection().caret(), 12); // unchanged
    EXPECT_EQ(e.selection().length(), -3);
}

TEST(SearchText, backwardFindsTheLastCandidateBeforeTheCaret) {
    TextEngine e;
    e.loadBytes("aaa\r\nxaax");
    e.setSelStart(e.charCount());
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selection().caret(), 6);
    EXPECT_EQ(e.selection().length(), 2);
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selection().caret(), 1); // overlapping occurrences are seen
    ASSERT_TRUE(e.searchText("aa", false, false, false, false));
    EXPECT_EQ(e.selection().caret(), 0);
    EXPECT_FALSE(e.searchText("aa", false, false, false, false));
    ASSERT_TRUE(e.searchText("x", false, true, false, false)); // from the end
    EXPECT_EQ(e.selection().caret(), 8);
}

TEST(SearchText, oneCharacterTwiceInARowIsFoundAtBothPlaces) {
    TextEngine e;
    e.loadBytes("xzzx");
    ASSERT_TRUE(e.searchText("z", true, true, false, true));
    EXPECT_EQ(e.selection().caret(), 2);
    ASSERT_TRUE(e.searchText("z", true, false, false, true));
    EXPECT_EQ(e.selection().caret(), 3);
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
            EXPECT_EQ(e.selection().caret() + e.selection().length(), c.expectedStart) << c.text;
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

// Text drawn from the bytes the finder ranks as common and as rare, so that its choice of
// probe bytes meets both, with patterns cut from the text itself so that most are found.
struct MixedText {
    std::mt19937 random;
    std::string alphabet = "eeettaaoin  sShHrRdDzZqQxX@`\xDB\xDB\xB0\xB1\x01\xE9\xC9.-9";

    std::string text(std::size_t size) {
        std::string out(size, ' ');
        for (char& c : out) {
            c = alphabet[random() % alphabet.size()];
        }
        return out;
    }
    std::string pattern(const std::string& from) {
        const std::size_t n = 1 + random() % 40;
        if (random() % 4 != 0 && from.size() >= n) {
            return from.substr(random() % (from.size() - n + 1), n);
        }
        return text(n);
    }
};

// Plain definition of a match: every byte equal, or equal after upper-casing a-z.
bool matchesAt(const std::string& text, std::size_t at, const std::string& pattern, bool fold) {
    for (std::size_t k = 0; k < pattern.size(); ++k) {
        const char t = text[at + k];
        if (fold ? upperAscii(t) != upperAscii(pattern[k]) : t != pattern[k]) {
            return false;
        }
    }
    return true;
}

// Long texts reach the wide vector loop, its hand-over to the narrow one and the tail; the
// random start offset moves every candidate across the block boundaries.
TEST(FindBytes, agreesWithAPlainScanOnLongMixedTexts) {
    MixedText gen{std::mt19937(11)};
    for (int round = 0; round < 1500; ++round) {
        const std::string text = gen.text(gen.random() % 3000);
        const std::string pattern = gen.pattern(text);
        const std::size_t from = text.empty() ? 0 : gen.random() % (text.size() / 8 + 1);
        for (const bool fold : {false, true}) {
            const std::string p = fold ? upperAscii(pattern) : pattern;
            const char* expected = nullptr;
            for (std::size_t i = from; i + p.size() <= text.size(); ++i) {
                if (matchesAt(text, i, p, fold)) {
                    expected = text.data() + i;
                    break;
                }
            }
            const char* found = findBytes(text.data() + from, text.data() + text.size(), p, fold);
            ASSERT_EQ(found, expected) << "round " << round << " fold " << fold << " pattern '" << p
                                       << "' text size " << text.size();
        }
    }
}

// One occurrence planted at every place of texts of every length up to a few vector blocks:
// the wide loop, the overlapping last block and the narrow fall-backs must each see it.
TEST(FindBytes, findsASingleOccurrenceAtEveryPlaceOfEveryLength) {
    for (const std::string pattern : {"qz", "Xylophone", "e e", "\xDB\xB0\xDB"}) {
        for (std::size_t size = pattern.size(); size <= 140; ++size) {
            for (std::size_t at = 0; at + pattern.size() <= size; ++at) {
                std::string text(size, 'e');
                text.replace(at, pattern.size(), pattern);
                for (const bool fold : {false, true}) {
                    const std::string p = fold ? upperAscii(pattern) : pattern;
                    const char* found = findBytes(text.data(), text.data() + size, p, fold);
                    ASSERT_EQ(found, text.data() + at) // the filler 'e' never completes it
                        << "pattern " << pattern << " size " << size << " at " << at;
                }
            }
        }
    }
}

// Every occurrence, walked forwards one after another and found backwards from the end, is
// the one a plain scan of the paragraphs finds under the whole-word rule.
TEST(SearchText, walksTheSameMatchesAsAPlainScanInBothCasesAndWholeWords) {
    MixedText gen{std::mt19937(5)};
    const std::string separators = " .-@";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> paragraphs(1 + gen.random() % 6);
        std::string joined;
        for (std::string& paragraph : paragraphs) {
            paragraph = gen.text(gen.random() % 300);
            joined += paragraph;
        }
        const std::string pattern = gen.pattern(joined);
        for (const bool matchCase : {true, false}) {
            for (const bool wholeWord : {false, true}) {
                // Match starts as global positions (a CR LF break takes two), walked the way
                // repeated forward searches walk: each after the end of the previous one.
                std::vector<Pos> expected;
                Pos last = -1; // the last match, which may overlap a walked one
                Pos paragraphStart = 0;
                for (const std::string& t : paragraphs) {
                    std::size_t i = 0;
                    while (i + pattern.size() <= t.size()) {
                        auto isSep = [&](std::size_t at) {
                            return separators.find(t[at]) != std::string::npos;
                        };
                        const bool word =
                            !wholeWord ||
                            ((i == 0 || isSep(i - 1)) &&
                             (i + pattern.size() == t.size() || isSep(i + pattern.size())));
                        if (matchesAt(t, i, pattern, !matchCase) && word) {
                            for (std::size_t j = i; j + pattern.size() <= t.size(); ++j) {
                                const bool w =
                                    !wholeWord ||
                                    ((j == 0 || isSep(j - 1)) &&
                                     (j + pattern.size() == t.size() || isSep(j + pattern.size())));
                                if (w && matchesAt(t, j, pattern, !matchCase)) {
                                    last = paragraphStart + static_cast<Pos>(j);
                                }
                            }
                            expected.push_back(paragraphStart + static_cast<Pos>(i));
                            i += pattern.size();
                        } else {
                            ++i;
                        }
                    }
                    paragraphStart += static_cast<Pos>(t.size()) + 2;
                }
                std::string text;
                for (std::size_t k = 0; k < paragraphs.size(); ++k) {
                    text += (k == 0 ? "" : "\r\n") + paragraphs[k];
                }
                TextEngine e;
                e.loadBytes(std::move(text));
                e.setSeparators(separators);
                std::vector<Pos> walked;
                bool found = e.searchText(pattern, true, true, wholeWord, matchCase);
                while (found && walked.size() <= expected.size()) {
                    walked.push_back(e.selection().caret() + e.selection().length());
                    found = e.searchText(pattern, true, false, wholeWord, matchCase);
                }
                ASSERT_EQ(walked, expected)
                    << "round " << round << " pattern '" << pattern << "' matchCase " << matchCase
                    << " whole " << wholeWord;
                const bool backward = e.searchText(pattern, false, true, wholeWord, matchCase);
                ASSERT_EQ(backward, !expected.empty());
                if (backward) {
                    EXPECT_EQ(e.selection().caret(), last);
                }
            }
        }
    }
}

} // namespace
} // namespace tavrel
