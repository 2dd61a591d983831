// Rounding of printer lengths: halves go to the even neighbour.
#include <gtest/gtest.h>

#include "print/nearest.h"

namespace tavrel {
namespace {

TEST(Nearest, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double x;
        std::int64_t want;
    };
    const Case cases[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},  {-0.5, 0},
                          {-1.5, -2}, {-2.5, -2}, {72.5, 72}, {73.5, 74}};
    for (const Case& c : cases) {
        EXPECT_EQ(nearest(c.x), c.want) << c.x;
    }
}

TEST(Nearest, OtherFractionsGoToTheCloserInteger) {
    EXPECT_EQ(nearest(2.4999), 2);
    EXPECT_EQ(nearest(2.5001), 3);
    EXPECT_EQ(nearest(-2.6), -3);
    EXPECT_EQ(nearest(600 * 0.75), 450);
    EXPECT_EQ(nearest(0.0), 0);
}

TEST(Nearest, NonsenseFromADriverStaysRepresentable) {
    EXPECT_EQ(nearest(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_GT(nearest(1e300), 0);
    EXPECT_LT(nearest(-1e300), 0);
}

} // namespace
} // namespace tavrel
