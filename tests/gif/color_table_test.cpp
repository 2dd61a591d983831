// Colour tables: the size rule, the 256-colour limit and when the "optimized" flag holds.
#include "gif/color_table.h"
#include "gif/gif_error.h"
#include "gif/picture.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(GifColorTable, bitsForIsTheSmallestPowerOfTwoThatHoldsTheColors) {
    const std::pair<int, int> cases[] = {{0, 0},   {1, 1},   {2, 1},   {3, 2},  {4, 2},
                                         {5, 3},   {8, 3},   {9, 4},   {16, 4}, {17, 5},
                                         {128, 7}, {129, 8}, {216, 8}, {256, 8}};
    for (const auto& [n, bits] : cases) {
        EXPECT_EQ(bitsFor(n), bits) << n << " colours";
    }
}

TEST(GifColorTable, theColorAfterTheTwoHundredFiftySixthOverflows) {
    GifColorTable table;
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(table.add({static_cast<std::uint8_t>(i), 0, 0}), i);
    }
    try {
        table.add({1, 2, 3});
        FAIL() << "a 257th colour was accepted";
    } catch (const GifError& e) {
        EXPECT_STREQ(e.what(), "Color table overflow");
    }
    EXPECT_EQ(table.count(), 256);
    EXPECT_EQ(table[255], (GifRgb{255, 0, 0}));
}

TEST(GifColorTable, everyChangeButTheOptimiserClearsTheOptimizedFlag) {
    GifColorTable table;
    table.add({1, 1, 1});
    table.add({2, 2, 2});
    const auto optimizedAfter = [&](auto change) {
        GifColorTable t = table;
        t.setOptimized(true);
        change(t);
        return t.optimized();
    };
    EXPECT_FALSE(optimizedAfter([](GifColorTable& t) { t.add({3, 3, 3}); }));
    EXPECT_FALSE(optimizedAfter([](GifColorTable& t) { t.set(0, {9, 9, 9}); }));
    EXPECT_FALSE(optimizedAfter([](GifColorTable& t) { t.clear(); }));
    EXPECT_TRUE(optimizedAfter([](GifColorTable& t) { (void)t.indexOf({2, 2, 2}); }));
}

TEST(GifColorTable, colorRefsKeepRedInTheLowByte) {
    EXPECT_EQ(GifRgb::fromColorRef(0x004A0000), (GifRgb{0, 0, 74}));
    EXPECT_EQ(GifRgb::fromColorRef(0x00123456), (GifRgb{0x56, 0x34, 0x12}));
}

TEST(GifBackground, findsTheColorOrAddsItAtTheEnd) {
    GifPicture picture;
    picture.screen().globalTable.add({10, 10, 10});
    picture.screen().globalTable.add({20, 20, 20});

    picture.setBackgroundColor({20, 20, 20});
    EXPECT_EQ(picture.screen().backgroundIndex, 1);
    EXPECT_EQ(picture.screen().globalTable.count(), 2);

    picture.setBackgroundColor({0, 0, 74});
    EXPECT_EQ(picture.screen().backgroundIndex, 2);
    ASSERT_EQ(picture.screen().globalTable.count(), 3);
    EXPECT_EQ(picture.screen().globalTable[2], (GifRgb{0, 0, 74}));
}

TEST(GifBackground, aFullTableWithoutTheColorOverflows) {
    GifPicture picture;
    for (int i = 0; i < 256; ++i) {
        picture.screen().globalTable.add({static_cast<std::uint8_t>(i), 1, 1});
    }
    EXPECT_THROW(picture.setBackgroundColor({0, 0, 0}), GifError);
    picture.setBackgroundColor({7, 1, 1});
    EXPECT_EQ(picture.screen().backgroundIndex, 7);
}

} // namespace
} // namespace tavrel
