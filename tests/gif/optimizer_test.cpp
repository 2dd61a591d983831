// The colour-table optimiser: order by use, dropped and merged colours, damaged pixels, and
// the image it leaves for the writer.
#include "gif/gif_error.h"
#include "gif/picture.h"

#include "test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace tavrel {
namespace {

using gif_check::argb;
using gif_check::RgbBuffer;

GifFrame frameWith(std::vector<GifRgb> table, std::vector<std::uint8_t> pixels) {
    GifFrame frame(static_cast<std::int64_t>(pixels.size()), 1);
    for (GifRgb c : table) {
        frame.localTable().add(c);
    }
    std::copy(pixels.begin(), pixels.end(), frame.pixels().begin());
    return frame;
}

// The colour each pixel of a frame shows, before or after optimising.
std::vector<GifRgb> shownColors(const GifPicture& picture, std::size_t frameIndex) {
    const GifFrame& frame = picture.frame(frameIndex);
    const GifColorTable& table =
        frame.localTable().empty() ? picture.screen().globalTable : frame.localTable();
    std::vector<GifRgb> colors;
    for (std::uint8_t p : frame.pixels()) {
        colors.push_back(table[p]);
    }
    return colors;
}

TEST(GifOptimizer, textColorComesFirstWhenItCoversMorePixels) {
    RgbBuffer capture(10, 4, 0, argb(0, 0, 74));
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 3; ++y) {
            capture.set(x, y, argb(255, 255, 255));
        }
    }
    GifPicture picture;
    picture.assign(capture.view());
    picture.setBackgroundColor({0, 0, 74});
    picture.optimizeColorTables();

    const GifColorTable& table = picture.screen().globalTable;
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table[0], (GifRgb{255, 255, 255}));
    EXPECT_EQ(table[1], (GifRgb{0, 0, 51}));
    EXPECT_TRUE(table.optimized());
    EXPECT_TRUE(picture.frame(0).localTable().empty());
    EXPECT_EQ(picture.screen().backgroundIndex, 0);
    EXPECT_EQ(picture.frame(0).pixels()[0], 0);
    EXPECT_EQ(picture.frame(0).pixels()[39], 1);
}

TEST(GifOptimizer, aSingleColorGivesAOneEntryTable) {
    RgbBuffer capture(7, 5, 0, argb(200, 100, 50));
    GifPicture picture;
    picture.assign(capture.view());
    picture.optimizeColorTables();
    ASSERT_EQ(picture.screen().globalTable.count(), 1);
    EXPECT_EQ(picture.screen().globalTable[0], (GifRgb{153, 102, 51}));
    for (std::uint8_t p : picture.frame(0).pixels()) {
        ASSERT_EQ(p, 0);
    }
}

TEST(GifOptimizer, sortsByUseDropsUnusedAndKeepsEveryPixelsColor) {
    const GifRgb a{1, 0, 0}, b{2, 0, 0}, unused{3, 0, 0}, c{4, 0, 0};
    GifPicture picture;
    picture.addFrame(frameWith({a, b, unused, c}, {0, 3, 1, 3, 3, 1, 3}));
    const std::vector<GifRgb> before = shownColors(picture, 0);
    picture.optimizeColorTables();

    const GifColorTable& table = picture.screen().globalTable;
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[0], c);
    EXPECT_EQ(table[1], b);
    EXPECT_EQ(table[2], a);
    EXPECT_EQ(shownColors(picture, 0), before);
}

TEST(GifOptimizer, identicalColorsMergeAcrossTablesAndWithinOne) {
    const GifRgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0};
    GifPicture picture;
    // red is in the first table twice; 1 + 2 red pixels there, 2 more in the second frame,
    // against 4 blue and 3 green: merged, red leads.
    picture.addFrame(frameWith({red, blue, red}, {0, 1, 1, 2, 2, 1, 1}));
    picture.addFrame(frameWith({green, red}, {0, 1, 0, 1, 0}));
    const std::vector<GifRgb> before0 = shownColors(picture, 0);
    const std::vector<GifRgb> before1 = shownColors(picture, 1);
    picture.optimizeColorTables();

    const GifColorTable& table = picture.screen().globalTable;
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[0], red);
    EXPECT_EQ(table[1], blue);
    EXPECT_EQ(table[2], green);
    EXPECT_EQ(shownColors(picture, 0), before0);
    EXPECT_EQ(shownColors(picture, 1), before1);
}

TEST(GifOptimizer, pixelsOutsideTheirTableBecomeEntryZeroWithOneWarning) {
    GifPicture picture;
    std::vector<std::string> warnings;
    picture.setWarningHandler([&](const std::string& m) { warnings.push_back(m); });
    picture.addFrame(frameWith({{9, 9, 9}, {8, 8, 8}}, {1, 7, 1, 200, 1}));
    picture.optimizeColorTables();

    EXPECT_EQ(warnings, std::vector<std::string>{"Color not in color table"});
    EXPECT_EQ(shownColors(picture, 0),
              (std::vector<GifRgb>{{8, 8, 8}, {9, 9, 9}, {8, 8, 8}, {9, 9, 9}, {8, 8, 8}}));
}

TEST(GifOptimizer, framesWithoutALocalTableAreCountedAgainstTheGlobalTable) {
    GifPicture picture;
    picture.screen().globalTable.add({0, 0, 0});
    picture.screen().globalTable.add({50, 50, 50});
    picture.addFrame(frameWith({}, {1, 1, 0}));
    picture.addFrame(frameWith({{70, 70, 70}}, {0, 0, 0, 0}));
    picture.optimizeColorTables();

    const GifColorTable& table = picture.screen().globalTable;
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table[0], (GifRgb{70, 70, 70}));
    EXPECT_EQ(table[1], (GifRgb{50, 50, 50}));
    EXPECT_EQ(table[2], (GifRgb{0, 0, 0}));
    EXPECT_EQ(shownColors(picture, 0),
              (std::vector<GifRgb>{{50, 50, 50}, {50, 50, 50}, {0, 0, 0}}));
}

TEST(GifOptimizer, colorsBeyondTwoHundredFiftySixGoToTheirNearestKeptColor) {
    GifPicture picture;
    std::vector<GifRgb> common, rare;
    std::vector<std::uint8_t> commonPixels, rarePixels;
    for (int i = 0; i < 200; ++i) {
        common.push_back({static_cast<std::uint8_t>(i), 0, 0});
        rare.push_back({static_cast<std::uint8_t>(i), 0, 1});
        commonPixels.insert(commonPixels.end(), 3, static_cast<std::uint8_t>(i));
        rarePixels.push_back(static_cast<std::uint8_t>(i));
    }
    picture.addFrame(frameWith(common, commonPixels));
    picture.addFrame(frameWith(rare, rarePixels));
    picture.optimizeColorTables();

    EXPECT_EQ(picture.screen().globalTable.count(), 256);
    const std::vector<GifRgb> shown = shownColors(picture, 1);
    for (int i = 0; i < 200; ++i) {
        // The 56 rare colours that fit keep their colour (equal counts keep table order);
        // the rest show their common neighbour one blue step away.
        const GifRgb expected{static_cast<std::uint8_t>(i), 0, static_cast<std::uint8_t>(i < 56)};
        EXPECT_EQ(shown[i], expected) << i;
    }
}

TEST(GifOptimizer, anImageWithoutPixelsCannotBeOptimized) {
    GifPicture picture;
    EXPECT_THROW(picture.optimizeColorTables(), GifError);
    picture.assign(RgbImageView{nullptr, 0, 0, 0});
    picture.setBackgroundColor({0, 0, 74});
    try {
        picture.optimizeColorTables();
        FAIL() << "an empty frame was optimised";
    } catch (const GifError& e) {
        EXPECT_NE(std::string(e.what()).find("without pixels"), std::string::npos) << e.what();
    }
}

// Large frames take the optimiser's fast paths (whole blocks of one colour, pixel pairs);
// runs of every length at every alignment, mixed with noise, must come out as a plain
// count-sort-and-rename gives them: table by falling use (ties in table order), each pixel
// renamed to its colour's rank.
TEST(GifOptimizer, largeFramesOfRunsAndNoiseMatchAPlainRenaming) {
    std::mt19937 random(3);
    for (const std::int64_t width : {std::int64_t{9}, std::int64_t{333}, std::int64_t{1920}}) {
        const std::int64_t height = (std::int64_t{1} << 19) / width + 7;
        std::vector<GifRgb> table;
        for (int i = 0; i < 40; ++i) {
            table.push_back({static_cast<std::uint8_t>(i * 6), static_cast<std::uint8_t>(i),
                             static_cast<std::uint8_t>(255 - i)});
        }
        GifFrame frame(width, height);
        for (GifRgb c : table) {
            frame.localTable().add(c);
        }
        std::vector<std::uint8_t> original(frame.pixels().size());
        for (std::size_t i = 0; i < original.size();) {
            const bool noise = random() % 3 == 0;
            const std::size_t run = 1 + random() % (noise ? 12 : 90);
            const auto value = static_cast<std::uint8_t>(random() % (noise ? 40 : 6));
            for (std::size_t k = 0; k < run && i < original.size(); ++k, ++i) {
                original[i] = noise ? static_cast<std::uint8_t>(random() % 40) : value;
            }
        }
        std::copy(original.begin(), original.end(), frame.pixels().begin());
        GifPicture picture;
        picture.addFrame(std::move(frame));
        picture.optimizeColorTables();

        std::vector<std::int64_t> counts(table.size());
        for (std::uint8_t p : original) {
            ++counts[p];
        }
        std::vector<int> order;
        for (int i = 0; i < static_cast<int>(table.size()); ++i) {
            if (counts[i] > 0) {
                order.push_back(i);
            }
        }
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return counts[a] > counts[b]; });
        std::vector<int> rank(table.size(), -1);
        const GifColorTable& result = picture.screen().globalTable;
        ASSERT_EQ(result.count(), static_cast<int>(order.size())) << "width " << width;
        for (std::size_t r = 0; r < order.size(); ++r) {
            rank[order[r]] = static_cast<int>(r);
            EXPECT_EQ(result[static_cast<int>(r)], table[order[r]]) << "rank " << r;
        }
        const std::span<const std::uint8_t> pixels = picture.frame(0).pixels();
        for (std::size_t i = 0; i < original.size(); ++i) {
            ASSERT_EQ(pixels[i], rank[original[i]]) << "pixel " << i << " width " << width;
        }
    }
}

} // namespace
} // namespace tavrel
