// The drawn block, shade and box shapes: pictures of a few joins, and at many cell sizes
// the property that matters for text art: every line reaching a cell edge meets the next
// cell's line exactly, and halves make whole blocks.
#include "editor/cell_shapes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tavrel {
namespace {

using Picture = std::vector<std::string>;

Picture draw(std::uint8_t byte, std::int32_t w, std::int32_t h, std::int32_t t,
             std::int32_t x0 = 0) {
    Picture p(static_cast<std::size_t>(h), std::string(static_cast<std::size_t>(w + x0), '.'));
    ShapeRect rects[kMaxShapeRects];
    const int n = cellShapeRects(byte, CellRect{x0, 0, x0 + w, h}, t, rects);
    for (int i = 0; i < n; ++i) {
        const CellRect& r = rects[i].rect;
        for (std::int32_t y = r.y0; y < r.y1; ++y) {
            for (std::int32_t x = r.x0; x < r.x1; ++x) {
                p[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = '#';
            }
        }
    }
    return p;
}

std::set<int> column(const Picture& p, int x) {
    std::set<int> rows;
    for (int y = 0; y < static_cast<int>(p.size()); ++y) {
        if (p[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#') {
            rows.insert(y);
        }
    }
    return rows;
}

std::set<int> row(const Picture& p, int y) {
    std::set<int> cols;
    const std::string& line = p[static_cast<std::size_t>(y)];
    for (int x = 0; x < static_cast<int>(line.size()); ++x) {
        if (line[static_cast<std::size_t>(x)] == '#') {
            cols.insert(x);
        }
    }
    return cols;
}

int components(Picture p) {
    int count = 0;
    const int h = static_cast<int>(p.size());
    const int w = static_cast<int>(p[0].size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (p[y][x] != '#') {
                continue;
            }
            ++count;
            std::vector<std::pair<int, int>> stack{{x, y}};
            p[y][x] = '.';
            while (!stack.empty()) {
                auto [cx, cy] = stack.back();
                stack.pop_back();
                const int dx[] = {1, -1, 0, 0};
                const int dy[] = {0, 0, 1, -1};
                for (int k = 0; k < 4; ++k) {
                    const int nx = cx + dx[k];
                    const int ny = cy + dy[k];
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && p[ny][nx] == '#') {
                        p[ny][nx] = '.';
                        stack.push_back({nx, ny});
                    }
                }
            }
        }
    }
    return count;
}

TEST(CellShapes, doubleCornerCrossAndMixedCrossingLookRight) {
    EXPECT_EQ(draw(201, 8, 10, 1),
              (Picture{"........", "........", "........", "..######", "..#.....", "..#.####",
                       "..#.#...", "..#.#...", "..#.#...", "..#.#..."}));
    EXPECT_EQ(draw(206, 8, 10, 1),
              (Picture{"..#.#...", "..#.#...", "..#.#...", "###.####", "........", "###.####",
                       "..#.#...", "..#.#...", "..#.#...", "..#.#..."}));
    EXPECT_EQ(draw(215, 8, 10, 1),
              (Picture{"..#.#...", "..#.#...", "..#.#...", "..#.#...", "########", "..#.#...",
                       "..#.#...", "..#.#...", "..#.#...", "..#.#..."}));
    // Single line down from a double corner: starts at the upper stroke.
    EXPECT_EQ(draw(184, 8, 10, 1),
              (Picture{"........", "........", "........", "####....", "...#....", "####....",
                       "...#....", "...#....", "...#....", "...#...."}));
}

struct Size {
    std::int32_t w, h, t;
    Size(std::int32_t width, std::int32_t height)
        : w(width), h(height), t(shapeLineThickness(width, height)) {}
};
// Cells of common fonts at scale factors 1, 1.5 and 2, odd sizes, and a few extremes.
const Size kSizes[] = {{8, 16}, {9, 17},  {8, 8},   {12, 24}, {13, 25}, {16, 32},
                       {7, 13}, {10, 20}, {24, 48}, {6, 12},  {5, 9},   {33, 70}};

// Any edge of any box character is blank, the single band or the double band of that
// size, so a single line always meets a single line and a double a double.
TEST(CellShapes, linesCrossCellEdgesOnlyAtTheSharedBands) {
    for (const Size s : kSizes) {
        const int c = (s.w - s.t) / 2;
        const int m = (s.h - s.t) / 2;
        auto band = [&](int centre, int weight) {
            std::set<int> b;
            for (int i = 0; i < s.t; ++i) {
                if (weight == 1) {
                    b.insert(centre + i);
                } else {
                    b.insert(centre - s.t + i);
                    b.insert(centre + s.t + i);
                }
            }
            return b;
        };
        const std::set<int> hBands[3] = {{}, band(m, 1), band(m, 2)};
        const std::set<int> vBands[3] = {{}, band(c, 1), band(c, 2)};
        for (int byte = 179; byte <= 218; ++byte) {
            const Picture p = draw(static_cast<std::uint8_t>(byte), s.w, s.h, s.t);
            const std::set<int> edges[4] = {column(p, 0), column(p, s.w - 1), row(p, 0),
                                            row(p, s.h - 1)};
            for (int e = 0; e < 4; ++e) {
                const std::set<int>* bands = e < 2 ? hBands : vBands;
                EXPECT_TRUE(edges[e] == bands[0] || edges[e] == bands[1] || edges[e] == bands[2])
                    << "byte " << byte << " edge " << e << " at " << s.w << "x" << s.h;
            }
        }
    }
}

// Double lines in both directions leave gaps at their corners (╔ has two strokes, ╬
// four); everything else is one connected figure.
TEST(CellShapes, boxCharactersAreConnectedExceptDoubleLines) {
    for (const Size s : kSizes) {
        for (int byte = 179; byte <= 218; ++byte) {
            const Picture p = draw(static_cast<std::uint8_t>(byte), s.w, s.h, s.t);
            const int sides = !column(p, 0).empty() + !column(p, s.w - 1).empty() +
                              !row(p, 0).empty() + !row(p, s.h - 1).empty();
            const std::size_t left = column(p, 0).size();
            const std::size_t right = column(p, s.w - 1).size();
            const std::size_t top = row(p, 0).size();
            const std::size_t bottom = row(p, s.h - 1).size();
            const std::size_t dbl = 2u * static_cast<std::size_t>(s.t);
            const bool hDouble = left == dbl || right == dbl;
            const bool vDouble = top == dbl || bottom == dbl;
            const int hArms = (left != 0) + (right != 0);
            const int vArms = (top != 0) + (bottom != 0);
            int expected = 1;
            if (hDouble && vDouble) {
                expected = sides; // ╔ 2, ╦ 3, ╬ 4: one piece per corner between arms
            } else if ((hDouble && vArms == 0) || (vDouble && hArms == 0)) {
                expected = 2; // ═ ║
            } else if ((vDouble && vArms == 2 && hArms == 1) ||
                       (hDouble && hArms == 2 && vArms == 1)) {
                expected = 2; // ╢ ╤: a single line from one side meets the near stroke only
            }
            EXPECT_EQ(components(p), expected) << "byte " << byte << " at " << s.w << "x" << s.h;
        }
    }
}

TEST(CellShapes, halvesMakeWholeBlocksWithoutOverlap) {
    for (const Size s : kSizes) {
        const Picture full = draw(219, s.w, s.h, s.t);
        for (const std::string& line : full) {
            EXPECT_EQ(line.find('.'), std::string::npos) << "full block leaves a hole";
        }
        const std::pair<std::uint8_t, std::uint8_t> pairs[] = {{223, 220}, {221, 222}};
        for (auto [a, b] : pairs) {
            const Picture pa = draw(a, s.w, s.h, s.t);
            const Picture pb = draw(b, s.w, s.h, s.t);
            for (int y = 0; y < s.h; ++y) {
                for (int x = 0; x < s.w; ++x) {
                    EXPECT_NE(pa[y][x] == '#', pb[y][x] == '#')
                        << int(a) << "/" << int(b) << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(CellShapes, shadesCoverTheWholeCellWithTheirOwnPatterns) {
    ShapeRect rects[kMaxShapeRects];
    const CellRect cell{3, 5, 11, 21};
    const ShapeFill expected[] = {ShapeFill::LightShade, ShapeFill::MediumShade,
                                  ShapeFill::DarkShade};
    for (std::uint8_t b : {176, 177, 178}) {
        ASSERT_EQ(cellShapeRects(b, cell, 1, rects), 1);
        EXPECT_EQ(rects[0].rect, cell);
        EXPECT_EQ(rects[0].fill, expected[b - 176]);
    }
    ASSERT_EQ(cellShapeRects(219, cell, 1, rects), 1);
    EXPECT_EQ(rects[0].fill, ShapeFill::Solid);
}

TEST(CellShapes, smallSquareIsCentred) {
    for (const Size s : kSizes) {
        const Picture p = draw(254, s.w, s.h, s.t);
        const std::set<int> cols = row(p, s.h / 2);
        ASSERT_FALSE(cols.empty());
        const int left = *cols.begin();
        const int right = s.w - 1 - *cols.rbegin();
        EXPECT_LE(std::abs(left - right), 1) << s.w << "x" << s.h;
    }
}

// The painter draws a run of equal tiling bytes as one wide cell; that must be the same
// picture as drawing the cells one by one.
TEST(CellShapes, tilingBytesDrawnAsOneRunEqualTheirCells) {
    for (int byte = 176; byte <= 254; ++byte) {
        if (!tilesHorizontally(static_cast<std::uint8_t>(byte))) {
            continue;
        }
        for (const Size s : kSizes) {
            Picture separate(static_cast<std::size_t>(s.h), std::string(3 * s.w, '.'));
            for (int cell = 0; cell < 3; ++cell) {
                const Picture one =
                    draw(static_cast<std::uint8_t>(byte), s.w, s.h, s.t, cell * s.w);
                for (int y = 0; y < s.h; ++y) {
                    for (int x = cell * s.w; x < (cell + 1) * s.w; ++x) {
                        separate[y][x] = one[y][x];
                    }
                }
            }
            EXPECT_EQ(draw(static_cast<std::uint8_t>(byte), 3 * s.w, s.h, s.t), separate)
                << "byte " << byte;
        }
    }
}

TEST(CellShapes, otherBytesHaveNoShape) {
    ShapeRect rects[kMaxShapeRects];
    for (int byte : {0, 65, 175, 224, 253, 255}) {
        EXPECT_EQ(cellShapeRects(static_cast<std::uint8_t>(byte), CellRect{0, 0, 8, 16}, 1, rects),
                  0);
    }
}

} // namespace
} // namespace tavrel
