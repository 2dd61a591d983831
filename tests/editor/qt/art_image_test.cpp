// Real text art from the corpus rendered into images at scale factors 1, 1.5 and 2 and at
// every zoom step, with the automatic line height and with the program's tight one, in the
// installed fixed fonts: full blocks must join their neighbours above, below and beside without a
// single background pixel, shades must be even, and bitmap text must not be blurred by scaling.
#include <QImage>

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <set>

#include "editor/qt/widget_test_support.h"
#include "support/corpus.h"

namespace tavrel {
namespace {

struct ArtSetup {
    const char* family;
    qreal scale;
    bool tightLines; // line height = the font's cell height, as the main window sets it
    int zoom = 1;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const ArtSetup& s, std::ostream* os) {
    *os << s.family << " x" << s.scale << (s.tightLines ? " tight" : "") << " zoom " << s.zoom;
}

std::string describe(const ArtSetup& s) {
    return std::string(s.family) + " x" + std::to_string(s.scale) +
           (s.tightLines ? " tight" : " auto") + " zoom" + std::to_string(s.zoom);
}

class ArtImage : public ::testing::TestWithParam<ArtSetup> {
protected:
    void SetUp() override {
        const ArtSetup& s = GetParam();
        if (resolveDisplayFamily(QString::fromLatin1(s.family)) != QString::fromLatin1(s.family)) {
            GTEST_SKIP() << s.family << " is not installed";
        }
        art_ = test::readFile(test::corpusDir() / "nfo" / "emerge.nfo");
        if (art_.empty()) {
            GTEST_SKIP() << "corpus not found";
        }
        editor_ = test::makeEditor(art_);
        QFont font(QString::fromLatin1(s.family));
        font.setPixelSize(16);
        editor_->setEditorFont(font);
        const int baseAdvance = editor_->glyphMetrics().spaceWidth();
        if (s.tightLines) {
            editor_->setLineHeight(editor_->glyphMetrics().fontHeight());
        }
        const int baseLineHeight = editor_->lineHeight();
        editor_->setZoom(s.zoom);
        // Zoom scales the cells by whole multiples, never by the larger font's own rounding.
        ASSERT_EQ(editor_->glyphMetrics().spaceWidth(), s.zoom * baseAdvance);
        if (s.tightLines) {
            ASSERT_EQ(editor_->lineHeight(), s.zoom * baseLineHeight);
        }
        image_ = editor_->renderDocument(0, s.scale).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(image_.isNull());
    }

    // Device-pixel span of a cell, snapped as the painter snaps it.
    [[nodiscard]] int dx(std::int64_t x) const {
        return static_cast<int>(std::llround(static_cast<double>(x) * GetParam().scale));
    }
    [[nodiscard]] QRect cellRect(int column, int row) const {
        const int advance = editor_->glyphMetrics().spaceWidth();
        const int lh = editor_->lineHeight();
        const int left = editor_->leftMargin();
        return QRect(QPoint(dx(left + column * advance), dx(row * lh)),
                     QPoint(dx(left + (column + 1) * advance) - 1, dx((row + 1) * lh) - 1));
    }
    [[nodiscard]] unsigned char at(int column, int row) const {
        const std::string_view line = editor_->engine().document().paragraph(row);
        return column < static_cast<int>(line.size()) ? static_cast<unsigned char>(line[column])
                                                      : ' ';
    }

    std::string art_;
    std::unique_ptr<TextEditor> editor_;
    QImage image_;
};

TEST_P(ArtImage, fullBlocksJoinWithoutBackgroundPixels) {
    const QRgb text = editor_->textColor().rgb();
    const Pos rows = editor_->engine().document().paragraphCount();
    int verticalJoins = 0;
    int horizontalJoins = 0;
    for (int row = 0; row < rows; ++row) {
        const int width = static_cast<int>(editor_->engine().document().paragraphLength(row));
        for (int col = 0; col < width; ++col) {
            if (at(col, row) != 219) {
                continue;
            }
            const QRect cell = cellRect(col, row);
            // The whole cell is the text colour, to its last pixel.
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    ASSERT_EQ(image_.pixel(x, y), text) << describe(GetParam()) << ": cell " << col
                                                        << "," << row << " pixel " << x << "," << y;
                }
            }
            if (row + 1 < rows && at(col, row + 1) == 219) {
                // No gap between this cell's last row and the next cell's first.
                EXPECT_EQ(cellRect(col, row + 1).top(), cell.bottom() + 1);
                ++verticalJoins;
            }
            if (at(col + 1, row) == 219) {
                EXPECT_EQ(cellRect(col + 1, row).left(), cell.right() + 1);
                ++horizontalJoins;
            }
        }
    }
    // The art is dense enough that this checked something.
    EXPECT_GT(verticalJoins, 100);
    EXPECT_GT(horizontalJoins, 100);
}

TEST_P(ArtImage, shadesAreDotPatternsOfTheirShare) {
    int checked = 0;
    const Pos rows = editor_->engine().document().paragraphCount();
    const QRgb text = editor_->textColor().rgb();
    for (int row = 0; row < rows; ++row) {
        const int width = static_cast<int>(editor_->engine().document().paragraphLength(row));
        for (int col = 0; col < width; ++col) {
            const unsigned char c = at(col, row);
            if (c < 176 || c > 178) {
                continue;
            }
            const QRect cell = cellRect(col, row);
            std::set<QRgb> colours;
            int dots = 0;
            for (int y = cell.top(); y <= cell.bottom(); ++y) {
                for (int x = cell.left(); x <= cell.right(); ++x) {
                    colours.insert(image_.pixel(x, y));
                    dots += image_.pixel(x, y) == text ? 1 : 0;
                }
            }
            // Dots in the text colour on the background, nothing blended between them.
            ASSERT_EQ(colours.size(), 2u) << describe(GetParam()) << ": shade " << int(c);
            // A quarter, half or three quarters, give or take the pattern's cut at the
            // cell's edges.
            const double share = static_cast<double>(dots) / (cell.width() * cell.height());
            EXPECT_NEAR(share, 0.25 * (c - 175), 0.1) << describe(GetParam()) << ": " << int(c);
            ++checked;
        }
    }
    EXPECT_GT(checked, 10);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, ArtImage,
    ::testing::Values(
        ArtSetup{"Terminus", 1.0, false}, ArtSetup{"Terminus", 1.5, true},
        ArtSetup{"Terminus", 2.0, true}, ArtSetup{"Terminus", 2.0, false},
        ArtSetup{"DejaVu Sans Mono", 1.0, true}, ArtSetup{"DejaVu Sans Mono", 1.5, false},
        ArtSetup{"DejaVu Sans Mono", 1.5, true}, ArtSetup{"DejaVu Sans Mono", 2.0, true},
        ArtSetup{"Terminus", 1.0, true, 2}, ArtSetup{"Terminus", 1.0, true, 3},
        ArtSetup{"Terminus", 1.0, true, 4}, ArtSetup{"Terminus", 1.0, true, 5},
        ArtSetup{"Terminus", 1.0, true, 6}, ArtSetup{"Terminus", 1.0, true, 7},
        ArtSetup{"Terminus", 1.0, true, 8}, ArtSetup{"Terminus", 1.5, false, 2},
        ArtSetup{"DejaVu Sans Mono", 1.0, true, 3}, ArtSetup{"DejaVu Sans Mono", 1.5, true, 2}),
    [](const ::testing::TestParamInfo<ArtSetup>& p) {
        std::string name = describe(p.param);
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    });

// A bitmap font drawn at twice its size must come from its own larger strike: its pixels
// are then text or background, never the in-between colours of an enlarged bitmap.
TEST(ArtImageText, bitmapFontIsDrawnFromItsStrikeAtEveryScale) {
    if (resolveDisplayFamily(QStringLiteral("Terminus")) != QStringLiteral("Terminus")) {
        GTEST_SKIP() << "Terminus is not installed";
    }
    auto editor = test::makeEditor("The quick brown fox jumps over the lazy dog 0123456789");
    const QRgb text = editor->textColor().rgb();
    const QRgb background = editor->color().rgb();
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        const QImage image = editor->renderDocument(0, scale).convertToFormat(QImage::Format_RGB32);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                ASSERT_TRUE(p == text || p == background)
                    << "scale " << scale << " pixel " << x << "," << y << " is blended";
                inked += p == text;
            }
        }
        EXPECT_GT(inked, 200 * scale * scale);
    }
}

// Half blocks cut their cell exactly in two and box lines run on into their neighbours at
// every zoom step; the cells are placed at whole multiples of the cells at zoom 1.
TEST(ArtImageZoom, halfBlocksAndBoxLinesStayCellExactAtEveryStep) {
    // Row 0: upper, lower, left, right half; row 1: three horizontal lines; rows 1-3 of
    // column 4: a vertical line.
    auto editor = test::makeEditor("\xDF\xDC\xDD\xDE\xB3\n\xC4\xC4\xC4 \xB3\n    \xB3");
    editor->setLineHeight(editor->glyphMetrics().fontHeight());
    const int w0 = editor->glyphMetrics().spaceWidth();
    const int h0 = editor->lineHeight();
    const QRgb text = editor->textColor().rgb();
    const QRgb back = editor->color().rgb();
    for (int zoom = 1; zoom <= TextEditor::kMaxZoom; ++zoom) {
        editor->setZoom(zoom);
        ASSERT_EQ(editor->zoom(), zoom);
        const QImage image = editor->renderDocument(0).convertToFormat(QImage::Format_RGB32);
        const int w = zoom * w0;
        const int h = zoom * h0;
        const int left = editor->leftMargin();
        // Counts text pixels of the cell (col, row) in rows [y0, y1) and columns [x0, x1)
        // measured from the cell's corner.
        const auto inked = [&](int col, int row, int x0, int x1, int y0, int y1) {
            int n = 0;
            for (int y = row * h + y0; y < row * h + y1; ++y) {
                for (int x = left + col * w + x0; x < left + col * w + x1; ++x) {
                    const QRgb p = image.pixel(x, y);
                    EXPECT_TRUE(p == text || p == back)
                        << "zoom " << zoom << " at " << x << "," << y;
                    n += p == text ? 1 : 0;
                }
            }
            return n;
        };
        const int top = h / 2;          // rows wholly in the upper half
        const int bottom = (h + 1) / 2; // first row wholly in the lower half
        const int lhs = w / 2;
        const int rhs = (w + 1) / 2;
        EXPECT_EQ(inked(0, 0, 0, w, 0, top), w * top) << "upper half, zoom " << zoom;
        EXPECT_EQ(inked(0, 0, 0, w, bottom, h), 0) << "upper half, zoom " << zoom;
        EXPECT_EQ(inked(1, 0, 0, w, 0, top), 0) << "lower half, zoom " << zoom;
        EXPECT_EQ(inked(1, 0, 0, w, bottom, h), w * (h - bottom)) << "lower half, zoom " << zoom;
        EXPECT_EQ(inked(2, 0, 0, lhs, 0, h), lhs * h) << "left half, zoom " << zoom;
        EXPECT_EQ(inked(2, 0, rhs, w, 0, h), 0) << "left half, zoom " << zoom;
        EXPECT_EQ(inked(3, 0, 0, lhs, 0, h), 0) << "right half, zoom " << zoom;
        EXPECT_EQ(inked(3, 0, rhs, w, 0, h), (w - rhs) * h) << "right half, zoom " << zoom;
        // Some pixel row of the three horizontal lines is text from end to end, and some
        // pixel column of the vertical line is text from top to bottom.
        int fullRows = 0;
        for (int y = h; y < 2 * h; ++y) {
            int run = 0;
            for (int x = left; x < left + 3 * w; ++x) {
                run += image.pixel(x, y) == text ? 1 : 0;
            }
            fullRows += run == 3 * w ? 1 : 0;
        }
        EXPECT_GE(fullRows, 1) << "horizontal line, zoom " << zoom;
        int fullColumns = 0;
        for (int x = left + 4 * w; x < left + 5 * w; ++x) {
            int run = 0;
            for (int y = 0; y < 3 * h; ++y) {
                run += image.pixel(x, y) == text ? 1 : 0;
            }
            fullColumns += run == 3 * h ? 1 : 0;
        }
        EXPECT_GE(fullColumns, 1) << "vertical line, zoom " << zoom;
    }
    editor->setZoom(0);
    EXPECT_EQ(editor->zoom(), 1);
    EXPECT_EQ(editor->glyphMetrics().spaceWidth(), w0);
    editor->setZoom(99);
    EXPECT_EQ(editor->zoom(), TextEditor::kMaxZoom);
}

// Zoomed bitmap text stays crisp and keeps its size: at every step only text and background
// pixels, and about zoom x zoom times the ink of the font's own size.
TEST(ArtImageZoom, bitmapTextIsCrispAndScaledWholeAtEveryStep) {
    if (resolveDisplayFamily(QStringLiteral("Terminus")) != QStringLiteral("Terminus")) {
        GTEST_SKIP() << "Terminus is not installed";
    }
    auto editor = test::makeEditor("The quick brown fox jumps over the lazy dog 0123456789");
    const QRgb text = editor->textColor().rgb();
    const QRgb background = editor->color().rgb();
    int baseInk = 0;
    for (int zoom = 1; zoom <= TextEditor::kMaxZoom; ++zoom) {
        editor->setZoom(zoom);
        const QImage image = editor->renderDocument(0).convertToFormat(QImage::Format_RGB32);
        int inked = 0;
        int blended = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                inked += p == text ? 1 : 0;
                blended += p != text && p != background ? 1 : 0;
            }
        }
        if (zoom == 1) {
            baseInk = inked;
        }
        EXPECT_EQ(blended, 0) << "zoom " << zoom;
        EXPECT_NEAR(inked, baseInk * zoom * zoom, baseInk * zoom * zoom * 0.3) << "zoom " << zoom;
    }
}

} // namespace
} // namespace tavrel
