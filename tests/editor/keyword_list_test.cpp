// The keyword list: matching against hand-counted spans and against a plain, slow
// re-implementation of the one-keyword-at-a-time rule; the derived data and the text form.
#include <gtest/gtest.h>

#include <bitset>
#include <random>
#include <string>
#include <vector>

#include "editor/keyword_list.h"
#include "editor/text_engine.h"

namespace tavrel {
namespace {

std::bitset<256> separatorsOf(std::string_view members) {
    std::bitset<256> set;
    for (const char c : members) {
        set[static_cast<unsigned char>(c)] = true;
    }
    return set;
}

const std::bitset<256> kSeparators = separatorsOf(kDefaultSeparators);

using Spans = std::vector<std::pair<Pos, Pos>>; // start, length

Spans matchSpans(const KeywordList& list, const std::string& text,
                 const std::vector<HighlightRun>& existing = {}) {
    std::vector<HighlightRun> runs;
    list.match(text, 0, static_cast<Pos>(text.size()), kSeparators, existing, runs);
    Spans out;
    for (const HighlightRun& r : runs) {
        out.emplace_back(r.start, r.length);
    }
    return out;
}

KeywordList listOf(std::initializer_list<const char*> words, std::uint8_t options = koWholeWords) {
    KeywordList list;
    int context = 1;
    for (const char* w : words) {
        list.addKeyword(w, options, 0x00FF00, 0, 0, context++, 0);
    }
    return list;
}

TEST(KeywordMatching, WholeWordsFollowTheEditorsSeparators) {
    const KeywordList nfo = listOf({"nfo"});
    EXPECT_EQ(matchSpans(nfo, "NFO"), (Spans{{0, 3}}));
    EXPECT_EQ(matchSpans(nfo, "Nfo."), (Spans{{0, 3}}));
    EXPECT_EQ(matchSpans(nfo, "(nfo)"), Spans{});
    EXPECT_EQ(matchSpans(nfo, "an nfo: nfo- nfo! 'nfo"), (Spans{{3, 3}}));
    EXPECT_EQ(matchSpans(listOf({"info"}), "information info"), (Spans{{12, 4}}));
    const KeywordList co = listOf({"co"});
    EXPECT_EQ(matchSpans(co, "co-op"), Spans{});
    EXPECT_EQ(matchSpans(co, "co/op"), (Spans{{0, 2}}));
}

TEST(KeywordMatching, TheEarlierKeywordWinsWhereBothWouldMatch) {
    // "foo.bar" holds a separator, so it is searched one by one; "foo" is looked up by word.
    EXPECT_EQ(matchSpans(listOf({"foo", "foo.bar"}), "foo.bar foo"), (Spans{{0, 3}, {8, 3}}));
    EXPECT_EQ(matchSpans(listOf({"foo.bar", "foo"}), "foo.bar foo"), (Spans{{0, 7}, {8, 3}}));
    std::vector<HighlightRun> runs;
    listOf({"foo", "FOO"}).match("foo", 0, 3, kSeparators, {}, runs);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].context, 1); // the first keyword's record
}

TEST(KeywordMatching, TextInARunWithAContextIsClosedToKeywords) {
    const KeywordList nfo = listOf({"nfo"});
    const std::vector<HighlightRun> address{{4, 11, kNoColor, kNoColor, 0, 0, 1025}};
    EXPECT_EQ(matchSpans(nfo, "see www.nfo.org nfo", address), (Spans{{16, 3}}));
    const std::vector<HighlightRun> noContext{{8, 3, kNoColor, kNoColor, 0, 0, 0}};
    EXPECT_EQ(matchSpans(nfo, "see www.nfo.org", noContext), (Spans{{8, 3}}));
}

TEST(KeywordMatching, TrailingSpacesOfAKeywordMustBeInTheText) {
    const KeywordList spaced = listOf({"nfo "});
    EXPECT_EQ(matchSpans(spaced, "an nfo here"), Spans{});
    EXPECT_EQ(matchSpans(spaced, "an nfo  here"), (Spans{{3, 4}}));
    EXPECT_EQ(matchSpans(spaced, "an nfo"), Spans{});
}

TEST(KeywordMatching, CaseRulesAndDisabledKeywords) {
    EXPECT_EQ(matchSpans(listOf({"NFO"}, koWholeWords | koMatchCase), "nfo NFO"), (Spans{{4, 3}}));
    KeywordList list;
    list.addKeyword("nfo", koWholeWords, 0, 0, 0, 0, 0); // context 0: disabled
    list.addKeyword("", koWholeWords, 0, 0, 0, 1, 0);    // an empty line never matches
    EXPECT_EQ(matchSpans(list, "nfo  nfo"), Spans{});
    const KeywordList inside = listOf({"nfo"}, 0); // not whole words
    EXPECT_EQ(matchSpans(inside, "xnfoxNFO"), (Spans{{1, 3}, {5, 3}}));
    // Accented letters fold only with the Windows-1252 upper-casing.
    KeywordList accented = listOf({"\xE9t\xE9"});
    EXPECT_EQ(matchSpans(accented, "\xC9T\xC9"), Spans{});
    accented.setUpperCaseType(UpperCaseType::Ansi);
    EXPECT_EQ(matchSpans(accented, "\xC9T\xC9"), (Spans{{0, 3}}));
}

TEST(KeywordMatching, OnlyWordsWhollyInsideTheSegmentMatch) {
    const KeywordList nfo = listOf({"nfo"});
    std::vector<HighlightRun> runs;
    const std::string text = "nfo nfo nfo";
    nfo.match(text, 1, 10, kSeparators, {}, runs);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].start, 4);
}

TEST(KeywordList, DerivedDataFollowEveryChangeUnlessAnUpdateIsInProgress) {
    KeywordList list;
    EXPECT_TRUE(list.allMatchCase());
    list.addKeyword("abc", koMatchCase, 0, 0, 0, 1, 0);
    EXPECT_EQ(list.longestLength(), 3);
    EXPECT_TRUE(list.allMatchCase());
    EXPECT_EQ(list.record(0).searchForm, "abc");
    list.beginUpdate();
    list.addKeyword("longer one", 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(list.longestLength(), 3);
    list.endUpdate();
    EXPECT_EQ(list.longestLength(), 10);
    EXPECT_FALSE(list.allMatchCase());
    EXPECT_EQ(list.record(1).searchForm, "LONGER ONE");
    list.removeKeyword(1);
    EXPECT_EQ(list.longestLength(), 3);
    EXPECT_TRUE(list.allMatchCase());
    EXPECT_THROW(list.removeKeyword(5), std::out_of_range);
}

TEST(KeywordList, TextFormWritesEightNumbersAndReadsSixAfterTheLastEquals) {
    KeywordList list;
    list.addKeyword("nfo", koWholeWords, 0x00FF00, 0xFFFFFFFF, 1, 7, 4);
    list.addKeyword("a=b", koMatchCase, 255, 0, 0, 1, 0);
    EXPECT_EQ(list.toText(), "nfo=2,4,7,1,-1,65280,0,0\r\na=b=1,0,1,0,0,255,0,0\r\n");

    KeywordList read;
    read.fromText("x=1,2,3,4,5,6,99,99\nno equals sign\ry==2,x\r\n");
    ASSERT_EQ(read.count(), 2);
    EXPECT_EQ(read.keyword(0), "x");
    const KeywordRecord& r = read.record(0);
    EXPECT_EQ(r.options, 1);
    EXPECT_EQ(r.style, 2);
    EXPECT_EQ(r.context, 3);
    EXPECT_EQ(r.cursor, 4);
    EXPECT_EQ(r.background, 5u);
    EXPECT_EQ(r.foreground, 6u);
    EXPECT_EQ(read.keyword(1), "y=");
    EXPECT_EQ(read.record(1).options, 2);
    EXPECT_EQ(read.record(1).context, 0); // missing and malformed numbers read as 0

    KeywordList again;
    again.fromText(list.toText());
    EXPECT_EQ(again.toText(), list.toText());
}

// The rule as written: per keyword in list order, search the (upper-cased) masked copy left
// to right, check whole words on the unmasked text, mask what was accepted.
Spans referenceMatch(const std::vector<std::pair<std::string, std::uint8_t>>& keywords,
                     const std::string& text) {
    std::string work = text;
    std::string upper = text;
    for (char& c : upper) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    }
    Spans found;
    for (const auto& [word, options] : keywords) {
        if (word.empty()) {
            continue;
        }
        std::string form = word;
        if ((options & koMatchCase) == 0) {
            for (char& c : form) {
                c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
            }
        }
        const std::string& source = (options & koMatchCase) != 0 ? work : upper;
        for (std::size_t at = 0; (at = source.find(form, at)) != std::string::npos;
             at += form.size()) {
            const std::size_t end = at + form.size();
            const bool whole =
                (at == 0 || kSeparators[static_cast<unsigned char>(text[at - 1])]) &&
                (end >= text.size() || kSeparators[static_cast<unsigned char>(text[end])]);
            if ((options & koWholeWords) == 0 || whole) {
                found.emplace_back(static_cast<Pos>(at), static_cast<Pos>(form.size()));
                for (std::size_t i = at; i < end; ++i) {
                    work[i] = 5;
                    upper[i] = 5;
                }
            }
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(KeywordMatching, AgreesWithTheOneByOneRuleOnRandomTexts) {
    std::mt19937 random(20261207);
    const std::string alphabet = "abAB .,-:/(";
    auto randomWord = [&](std::size_t maxLength) {
        std::string w;
        const std::size_t n = 1 + random() % maxLength;
        for (std::size_t i = 0; i < n; ++i) {
            w += alphabet[random() % alphabet.size()];
        }
        return w;
    };
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::pair<std::string, std::uint8_t>> keywords;
        KeywordList list;
        const int count = 1 + static_cast<int>(random() % 5);
        for (int k = 0; k < count; ++k) {
            const auto options = static_cast<std::uint8_t>(random() % 4);
            keywords.emplace_back(randomWord(4), options);
            list.addKeyword(keywords.back().first, options, 0, 0, 0, 1, 0);
        }
        const std::string text = randomWord(40);
        ASSERT_EQ(matchSpans(list, text), referenceMatch(keywords, text))
            << "text '" << text << "' first keyword '" << keywords[0].first << "'";
    }
}

} // namespace
} // namespace tavrel
