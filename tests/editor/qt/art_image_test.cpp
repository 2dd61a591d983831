// Real text art from the corpus rendered into images at scale factors 1, 1.5 and 2, with
// the automatic line height and with the program's tight one, in the installed fixed
// fonts: full blocks must join their neighbours above, below and beside without a single
// background pixel, shades must be even, and bitmap text must not be blurred by scaling.
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
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const ArtSetup& s, std::ostream* os) {
    *os << s.family << " x" << s.scale << (s.tightLines ? " tight" : "");
}

std::string describe(const ArtSetup& s) {
    return std::string(s.family) + " x" + std::to_string(s.scale) +
           (s.tightLines ? " tight" : " auto");
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
        if (s.tightLines) {
            editor_->setLineHeight(editor_->glyphMetrics().fontHeight());
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

INSTANTIATE_TEST_SUITE_P(Scales, ArtImage,
                         ::testing::Values(ArtSetup{"Terminus", 1.0, false},
                                           ArtSetup{"Terminus", 1.5, true},
                                           ArtSetup{"Terminus", 2.0, true},
                                           ArtSetup{"Terminus", 2.0, false},
                                           ArtSetup{"DejaVu Sans Mono", 1.0, true},
                                           ArtSetup{"DejaVu Sans Mono", 1.5, false},
                                           ArtSetup{"DejaVu Sans Mono", 1.5, true},
                                           ArtSetup{"DejaVu Sans Mono", 2.0, true}),
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

} // namespace
} // namespace tavrel
