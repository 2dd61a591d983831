// The line-end repair: CR runs before LF, bare LF only without any CR LF.
#include "app/line_ends.h"
#include "line_ends_reference.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>

namespace tavrel {
namespace {

using test::literalLineEndRepair;

struct RepairCase {
    const char* name;
    std::string input;
    std::string expected;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const RepairCase& c, std::ostream* os) {
    *os << c.name;
}

class RepairLineEnds : public ::testing::TestWithParam<RepairCase> {};

TEST_P(RepairLineEnds, givesTheExpectedBytes) {
    std::string text = GetParam().input;
    repairLineEnds(text);
    EXPECT_EQ(text, GetParam().expected);
    EXPECT_EQ(text, literalLineEndRepair(GetParam().input));
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
    [](const ::testing::TestParamInfo<RepairCase>& param) { return param.param.name; });

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
        ASSERT_EQ(repaired, literalLineEndRepair(text)) << "input of " << text.size() << " bytes";
    }
}

} // namespace
} // namespace tavrel
