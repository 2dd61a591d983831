// The light, medium and dark shades drawn by the glyph painter, compared pixel by pixel with
// the display font's dot patterns written out below by hand: on the device's pixel grid,
// unbroken from one cell to the next (cells of odd sizes at odd offsets), filling exactly
// their cells, at several scale factors.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>

#include "editor/cell_shapes.h"
#include "editor/qt/glyph_painter.h"
#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

// One 8-dot row pair of each shade, as the code page 437 font's glyphs 176, 177 and 178
// draw them ('#' a dot in the text colour); the rows repeat down the cell.
const char* const kReference[3][2] = {
    {"..#...#.", "#...#..."}, // light: a quarter of the dots
    {".#.#.#.#", "#.#.#.#."}, // medium: half
    {"##.###.#", ".###.###"}, // dark: three quarters
};

constexpr QRgb kBackground = 0xff000080;
constexpr QRgb kText = 0xffffffff;

struct ScaleCase {
    qreal scale;
    int dot; // device pixels per dot of the pattern
};

// Cells 9 logical pixels wide, lines 17 high: neither is a multiple of the pattern's period.
constexpr int kAdvance = 9;
constexpr int kLineHeight = 17;
constexpr int kLeft = 3;
constexpr int kTop = 1;
const std::string kRun = "\xB0\xB0\xB1\xB1\xB2\xB2\xB0";

int device(qreal scale, int logical) {
    return static_cast<int>(std::llround(logical * scale));
}

QImage paintShades(qreal scale, const QFont& font) {
    AdvanceTable advances{};
    advances.fill(kAdvance);
    GlyphWidths widths;
    widths.advances = &advances;
    widths.tabWidth = 8 * kAdvance;
    widths.fixedPitch = true;

    const int logicalWidth = kLeft + kAdvance * static_cast<int>(kRun.size()) + 5;
    const int logicalHeight = kTop + 2 * kLineHeight + 3;
    QImage image(device(scale, logicalWidth), device(scale, logicalHeight), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(kBackground);
    QPainter painter(&image);
    GlyphPainter glyphs;
    glyphs.setFont(font, 16);
    glyphs.begin(painter);
    GlyphPainter::Style style;
    style.text = QColor::fromRgba(kText);
    for (int row = 0; row < 2; ++row) {
        GlyphPainter::Line line;
        line.left = kLeft;
        line.top = kTop + row * kLineHeight;
        line.height = kLineHeight;
        line.baseline = 13;
        glyphs.drawRun(kRun, 0, static_cast<Pos>(kRun.size()), 0, line, style, widths);
    }
    glyphs.end();
    painter.end();
    return image;
}

// Test names and failures show the case, not the bytes of the struct.
void PrintTo(const ScaleCase& c, std::ostream* os) {
    *os << "scale " << c.scale;
}

class ShadePattern : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ShadePattern, matchesTheFontsDotsAcrossCellsAndLines) {
    const ScaleCase c = GetParam();
    const QImage image = paintShades(c.scale, test::testFont());
    const int runLeft = device(c.scale, kLeft);
    const int runTop = device(c.scale, kTop);
    const int runBottom = device(c.scale, kTop + 2 * kLineHeight);
    int mismatches = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb expected = kBackground;
            if (y >= runTop && y < runBottom && x >= runLeft) {
                // Which cell the pixel lies in, by the cells' snapped edges.
                for (std::size_t i = 0; i < kRun.size(); ++i) {
                    const int x0 = device(c.scale, kLeft + kAdvance * static_cast<int>(i));
                    const int x1 = device(c.scale, kLeft + kAdvance * static_cast<int>(i + 1));
                    if (x >= x0 && x < x1) {
                        const int shade = static_cast<unsigned char>(kRun[i]) - 176;
                        const char dot = kReference[shade][(y / c.dot) % 2][(x / c.dot) % 8];
                        expected = dot == '#' ? kText : kBackground;
                    }
                }
            }
            const QRgb actual = image.pixel(x, y);
            if (actual != expected && ++mismatches <= 5) {
                ADD_FAILURE() << "scale " << c.scale << " pixel " << x << "," << y
                              << (expected == kText ? " should be a dot" : " should be clear");
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, ShadePattern,
                         ::testing::Values(ScaleCase{1.0, 1}, ScaleCase{1.5, 2}, ScaleCase{2.0, 2},
                                           ScaleCase{3.0, 3}),
                         [](const ::testing::TestParamInfo<ScaleCase>& scaleCase) {
                             return "x" +
                                    std::to_string(static_cast<int>(scaleCase.param.scale * 10));
                         });

// Each pattern sets the share of pixels its name promises, over any whole period.
TEST(ShadeDots, coverAQuarterHalfAndThreeQuartersOfEveryPeriod) {
    const ShapeFill fills[] = {ShapeFill::LightShade, ShapeFill::MediumShade, ShapeFill::DarkShade};
    for (int i = 0; i < 3; ++i) {
        for (const int originX : {-7, 0, 5}) {
            int set = 0;
            for (int y = 0; y < 2; ++y) {
                for (int x = originX; x < originX + 4; ++x) {
                    set += shadeDotSet(fills[i], x, y, 1) ? 1 : 0;
                }
            }
            EXPECT_EQ(set, 2 * (i + 1)) << "shade " << i << " from x " << originX;
        }
    }
}

} // namespace
} // namespace tavrel
