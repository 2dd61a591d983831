// The line-end repair: CR runs before LF, bare LF only without any CR LF, and the NUL cut.
#include "app/line_ends.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tavrel {
namespace {

// The two replacement passes and the LF rule written the slow, literal way, as a reference
// for the one-pass implementation.
std::string replaceAllOnce(const std::string& text, const std::string& from,
                           const std::string& to) {
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos) {
            out += text.substr(pos);
            return out;
        }
        out += text.substr(pos, hit - pos) + to;
        pos = hit + from.size();
    }
}

std::string literalRepair(const std::string& text) {
    std::string out = replaceAllOnce(text, "\r\r\r\n", "\r\n");
    out = replaceAllOnce(out, "\r\r\n", "\r\n");
    if (out.find("\r\n") == std::string::npos) {
        out = replaceAllOnce(out, "\n", "\r\n");
    }
    return out;
}

struct RepairCase {
    const char* name;
    std::string input;
    std::string expected;
};

class RepairLineEnds : public ::testing::TestWithParam<RepairCase> {};

TEST_P(RepairLineEnds, givesTheExpectedBytes) {
    std::string text = GetParam().input;
    repairLineEnds(text);
    EXPECT_EQ(text, GetParam().expected);
    EXPECT_EQ(text, literalRepair(GetParam().input));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RepairLineEnds,
    ::testing::Values(RepairCase{"empty", "", ""},
                      RepairCase{"unixFileGetsCrLf", "a\nb\nc", "a\r\nb\r\nc"},
                      RepairCase{"unixFileWithFinalBreak", "a\n\n", "a\r\n\r\n"},
                      RepairCase{"oneCrLfKeepsBareLfs", "a\nb\r\nc\n", "a\nb\r\nc\n"},
                      RepairCase{"tripleCrBecomesOneLine", "a\r\r\r\nb", "a\r\nb"},
                      RepairCase{"doubleCrBecomesOneLine", "a\r\r\nb", "a\r\nb"},
                      RepairCase{"fourCrsCollapseToOne", "a\r\r\r\r\nb", "a\r\nb"},
                      RepairCase{"fiveCrsKeepTwoBecauseNothingIsRescanned", "a\r\r\r\r\r\nb",
                                 "a\r\r\nb"},
                      RepairCase{"sixCrsKeepThree", "a\r\r\r\r\r\r\nb", "a\r\r\r\nb"},
                      RepairCase{"collapsedRunsCountAsCrLfForBareLfs", "a\r\r\nb\nc", "a\r\nb\nc"},
                      RepairCase{"loneCrsStay", "a\rb\rc", "a\rb\rc"},
                      RepairCase{"crLfAtStart", "\r\r\nx", "\r\nx"},
                      RepairCase{"lfCrIsABareLfAndACr", "a\n\rb", "a\r\n\rb"}),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return info.param.name; });

TEST(RepairLineEndsRandom, agreesWithTheLiteralPassesOnRandomBreakSoup) {
    std::mt19937 random(12345);
    const char alphabet[] = {'\r', '\r', '\n', 'x', ' '};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 40, 'x');
        for (char& c : text) {
            c = alphabet[random() % sizeof alphabet];
        }
        std::string repaired = text;
        repairLineEnds(repaired);
        ASSERT_EQ(repaired, literalRepair(text)) << "input of " << text.size() << " bytes";
    }
}

TEST(CutAtNul, stopsTheTextAtTheFirstNulAndSaysWhere) {
    std::string text("ab\0cd\0e", 7);
    EXPECT_EQ(cutAtNul(text), 2);
    EXPECT_EQ(text, "ab");
    std::string plain = "no nul";
    EXPECT_EQ(cutAtNul(plain), -1);
    EXPECT_EQ(plain, "no nul");
}

} // namespace
} // namespace tavrel
