// The styles of the editor's font: bold, italic, underline and strike-out letters drawn as Qt
// draws the same text in that font, while block and box bytes keep their cell-exact shapes.
#include <QImage>
#include <QPainter>

#include <ostream>

#include <gtest/gtest.h>

#include "editor/qt/widget_test_support.h"

namespace tavrel {
namespace {

struct FontStyle {
    const char* name;
    bool bold, italic, underline, strikeOut;
};

void PrintTo(const FontStyle& s, std::ostream* os) {
    *os << s.name;
}

// An outline font whose letters advance 12.04 pixels at this size: over a few letters Qt's own
// text layout rounds each one to where the editor's whole-pixel cells put it. (Qt's text
// drawing takes one strike of a bitmap font for every size, so Terminus cannot serve.)
QFont styled(const FontStyle& s) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(20);
    font.setBold(s.bold);
    font.setItalic(s.italic);
    font.setUnderline(s.underline);
    font.setStrikeOut(s.strikeOut);
    return font;
}

// An editor showing `bytes` in `font`, white on black, lines as tall as the font's cells as
// the main window sets them.
std::unique_ptr<TextEditor> editorIn(const std::string& bytes, const QFont& font) {
    auto editor = test::makeEditor(bytes);
    editor->setEditorFont(font);
    editor->setLineHeight(editor->unzoomedFontHeight());
    editor->setColor(Qt::black);
    editor->setTextColor(Qt::white);
    test::finishFormatting(*editor);
    return editor;
}

QImage picture(TextEditor& editor) {
    return editor.renderDocument(0, 1.0).convertToFormat(QImage::Format_RGB32);
}

class FontStyles : public ::testing::TestWithParam<FontStyle> {
protected:
    void SetUp() override {
        if (resolveDisplayFamily(QStringLiteral("DejaVu Sans Mono")) !=
            QStringLiteral("DejaVu Sans Mono")) {
            GTEST_SKIP() << "DejaVu Sans Mono is not installed";
        }
    }
};

TEST_P(FontStyles, lettersLookAsQtDrawsThemInThatFont) {
    const QFont font = styled(GetParam());
    const char* text = "Rag Qy&x";
    auto editor = editorIn(text, font);
    const QImage drawn = picture(*editor);
    ASSERT_FALSE(drawn.isNull());

    QImage expected(drawn.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    {
        QPainter painter(&expected);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QPointF(editor->leftMargin(), editor->baseline()),
                         QString::fromLatin1(text));
    }
    EXPECT_EQ(drawn, expected);
    if (GetParam().bold || GetParam().italic || GetParam().underline || GetParam().strikeOut) {
        EXPECT_NE(drawn, picture(*editorIn(text, styled({"plain", false, false, false, false}))))
            << "the style changed nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, FontStyles,
                         ::testing::Values(FontStyle{"plain", false, false, false, false},
                                           FontStyle{"bold", true, false, false, false},
                                           FontStyle{"italic", false, true, false, false},
                                           FontStyle{"underline", false, false, true, false},
                                           FontStyle{"strikeOut", false, false, false, true},
                                           FontStyle{"all", true, true, true, true}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(FontStyles, blockAndBoxBytesKeepTheirCellExactShapesInBold) {
    // Full block, dark shade, upper half, a box cross and a double horizontal line.
    const std::string art = "\xDB\xB2\xDF\xC5\xCD";
    auto plain = editorIn(art, styled({"plain", false, false, false, false}));
    auto bold = editorIn(art, styled({"bold", true, false, false, false}));
    const QImage plainPicture = picture(*plain);
    EXPECT_EQ(picture(*bold), plainPicture);
    // The full block covers its cell and nothing beside it.
    const int advance = plain->glyphMetrics().spaceWidth();
    const int left = plain->leftMargin();
    for (int y = 0; y < plainPicture.height(); ++y) {
        EXPECT_EQ(plainPicture.pixel(left, y), qRgb(255, 255, 255)) << "row " << y;
        EXPECT_EQ(plainPicture.pixel(left + advance - 1, y), qRgb(255, 255, 255)) << "row " << y;
        EXPECT_EQ(plainPicture.pixel(left - 1, y), qRgb(0, 0, 0)) << "row " << y;
    }
}

} // namespace
} // namespace tavrel
