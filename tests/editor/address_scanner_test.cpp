// Address recognition: which spans of a paragraph are addresses and which table row found
// them, with the expected spans counted by hand from the texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/address_scanner.h"

namespace tavrel {
namespace {

struct Span {
    Pos start;
    Pos length;
    int row;
    bool operator==(const Span&) const = default;
};

void PrintTo(const Span& s, std::ostream* os) {
    *os << "{" << s.start << "," << s.length << ",row " << s.row << "}";
}

std::vector<Span> spans(const std::string& text, const AddressScan& rules = {}) {
    std::vector<FoundAddress> found;
    findAddresses(text, 0, static_cast<Pos>(text.size()), rules, found);
    std::vector<Span> out;
    for (const FoundAddress& f : found) {
        out.push_back({f.start, f.length, f.index});
    }
    return out;
}

struct Case {
    const char* name;
    const char* text;
    std::vector<Span> expected;
};

class AddressCases : public testing::TestWithParam<Case> {};

TEST_P(AddressCases, FindsTheExpectedSpans) {
    EXPECT_EQ(spans(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Recognition, AddressCases,
    testing::Values(
        Case{"WwwWithCommaLosesTheComma", "see wWw.Example.com, now", {{4, 15, 1}}},
        Case{"LetterBeforeWwwPreventsIt", "xwww.example.com", {}},
        Case{"ParenthesesAroundHttpAreLeftOut", "(HTTP://a.b/c)", {{1, 12, 0}}},
        Case{"HttpAloneAtTheEndIsNothing", "go HTTP://", {}},
        Case{"HttpFollowedBySpaceIsNothing", "HTTP:// x", {}},
        Case{"AtWithSpaceBeforeIsNothing", "a @b", {}},
        Case{"AtWithSpaceAfterIsNothing", "a@ b", {}},
        Case{"AtWithSpacesAroundIsNothing", "a @ b", {}},
        Case{"SingleAtBetweenLettersIsEmail", "x@y", {{0, 3, 3}}},
        Case{"EmailEndingASentenceLosesTheStop", "mail joe@host.example.com.", {{5, 20, 3}}},
        Case{"AtAtParagraphStartIsNothing", "@home", {}},
        Case{"FtpDotIsItsOwnRow", "FTP.site.org", {{0, 12, 7}}},
        Case{"FtpSchemeRow", "ftp://site.org/x", {{0, 16, 6}}},
        Case{"HttpsIsNotTakenForHttp", "https://a", {{0, 9, 14}}},
        Case{"EveryTrailingStopCommaSemicolonGoes", "www.a.com;.,", {{0, 9, 1}}},
        Case{"InnerPunctuationStays", "www.a.com,b", {{0, 11, 1}}},
        Case{"NewsAndNntp", "news:comp.x nntp://h", {{0, 11, 4}, {12, 8, 5}}},
        Case{"OtherSchemes",
             "gopher.x telnet://h tn3270://h wais://h prospero://h gopher://g",
             {{0, 8, 9}, {9, 10, 10}, {20, 10, 11}, {31, 8, 12}, {40, 12, 13}, {53, 10, 8}}},
        Case{"MailtoCoversItsAt", "mailto:joe@x.org", {{0, 16, 2}}},
        Case{"AngleBracketsAndQuotesDelimit",
             "<www.a.com> \"www.b.org\" 'www.c.net'",
             {{1, 9, 1}, {13, 9, 1}, {25, 9, 1}}},
        Case{"TabDelimits", "\twww.a.com\tx", {{1, 9, 1}}},
        Case{"CommaIsNotADelimiterBeforeAPrefix", "a,www.b.com", {}},
        Case{"HyphenBeforeAtIsPartOfTheAddress", "see first-last@x.org!", {{4, 17, 3}}},
        Case{"TwoAtsMakeOneAddress", "a@b@c", {{0, 5, 3}}},
        Case{"LowerCaseLiterals", "http://x www.y", {{0, 8, 0}, {9, 5, 1}}}),
    [](const testing::TestParamInfo<Case>& p) { return std::string(p.param.name); });

TEST(AddressScanner, AnAddressLongerThanARunCanHoldIsCutAndScanningEnds) {
    const std::string text = std::string(70000, 'a') + "@b c@d";
    const auto found = spans(text);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (Span{0, kMaxRunLength, 3}));
    EXPECT_EQ(found[1], (Span{70003, 3, 3}));
}

TEST(AddressScanner, OnlyLiteralsFromTheRangeStartAreReported) {
    const std::string text = "www.a.com x@y www.b.com";
    std::vector<FoundAddress> found;
    findAddresses(text, 5, 14, {}, found);
    // "www.a.com" starts before the range; the e-mail address begins before it too but its
    // "@" lies inside; the last one starts after the range.
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].start, 10);
    EXPECT_EQ(found[0].length, 3);
}

TEST(AddressScanner, AnEarlierRunInsideTheAddressWinsUnlessPriorityIsSet) {
    const std::string text = "abc@def.org";
    const std::vector<HighlightRun> existing{{0, 3, kNoColor, kNoColor, 0, 0, 1}};
    AddressScan rules;
    rules.existing = &existing;
    EXPECT_TRUE(spans(text, rules).empty());
    rules.priority = true;
    EXPECT_EQ(spans(text, rules), (std::vector<Span>{{0, 11, 3}}));
    // A run that covers the whole address is the same run at both ends.
    const std::vector<HighlightRun> covering{{0, 11, kNoColor, kNoColor, 0, 0, 1}};
    rules.existing = &covering;
    rules.priority = false;
    EXPECT_EQ(spans(text, rules), (std::vector<Span>{{0, 11, 3}}));
}

TEST(AddressScanner, TheAcceptHookRejectsAndScanningGoesOnAfterTheLiteral) {
    std::vector<int> asked;
    const std::function<bool(const FoundAddress&)> accept = [&](const FoundAddress& a) {
        asked.push_back(a.index);
        return a.index != 2; // no mailto:
    };
    AddressScan rules;
    rules.accept = &accept;
    // Rejecting the mailto: address lets its "@" be found as an address of its own.
    EXPECT_EQ(spans("mailto:joe@x.org", rules), (std::vector<Span>{{0, 16, 3}}));
    EXPECT_EQ(asked, (std::vector<int>{2, 3}));
}

} // namespace
} // namespace tavrel
