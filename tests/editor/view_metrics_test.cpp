// Line height, baseline and scroll bar ranges.
#include "editor/view_metrics.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(ViewMetrics, automaticLineHeightIsTheCellPlusOneAndCappedForHugeDocuments) {
    const TableGlyphMetrics font = TableGlyphMetrics::uniform(8, 12, 3); // cell 15
    EXPECT_EQ(effectiveLineHeight(0, font, 10), 16);
    EXPECT_EQ(effectiveLineHeight(-4, font, 10), 16);
    EXPECT_EQ(effectiveLineHeight(20, font, 10), 20);
    EXPECT_EQ(effectiveLineHeight(100000, font, 10), 65535);
    // 70000 lines leave 16 alone (the cap would be 30680).
    EXPECT_EQ(effectiveLineHeight(0, font, 70000), 16);
    // 200 million lines cap it at 2147483647 / lines + 1.
    EXPECT_EQ(effectiveLineHeight(0, font, 200000000), 11);
}

TEST(ViewMetrics, baselineIsTheAscentWithTheAutomaticHeightAndCentresExtraRoom) {
    const TableGlyphMetrics font(TableGlyphMetrics::uniform(8, 12, 3).advances(), 12, 3, 2);
    EXPECT_EQ(baselineOffset(16, font), 12);
    // 6 extra pixels: e = 21 - 15 + 1 = 7, baseline = 21 - 3 - 3.
    EXPECT_EQ(baselineOffset(21, font), 15);
    // Lines lower than the font: the baseline keeps the visible part of the ascent.
    EXPECT_EQ(baselineOffset(10, font), 10);
}

TEST(ViewMetrics, verticalRangeScalesToStayWithin32760Steps) {
    const ScrollRange small = verticalScrollRange(100, 16, 500);
    EXPECT_EQ(small.scale, 1);
    EXPECT_EQ(small.page, 497);
    EXPECT_EQ(small.maximum, 1600 - 497 + 1);
    const ScrollRange big = verticalScrollRange(2000000, 16, 500);
    EXPECT_EQ(big.scale, 2000000LL * 16 / 32760 + 1);
    EXPECT_LE(big.maximum, 32760);
    EXPECT_GT(big.maximum, 32000);
    // A document shorter than the window cannot scroll.
    EXPECT_TRUE(verticalScrollRange(3, 16, 500).fits());
}

TEST(ViewMetrics, horizontalRangeFollowsTheWidestLineUnlessWrapping) {
    const ScrollRange r = horizontalScrollRange(1000, 8, 8, 700, true);
    EXPECT_EQ(r.scale, 1);
    EXPECT_EQ(r.page, 684);
    EXPECT_EQ(r.maximum, 316);
    EXPECT_TRUE(horizontalScrollRange(1000, 8, 8, 700, false).fits());
    EXPECT_TRUE(horizontalScrollRange(600, 8, 8, 700, true).fits());
}

} // namespace
} // namespace tavrel
