// Font resolution and measuring: the fallback chain, the fixed-pitch rule over all 256
// glyphs, and a glyph for every byte.
#include <gtest/gtest.h>

#include "editor/qt/display_font.h"
#include "text/cp437.h"

namespace tavrel {
namespace {

TEST(DisplayFont, missingFamiliesFallBackToAnInstalledFixedFont) {
    const QString resolved = resolveDisplayFamily(QStringLiteral("No Such Font 4711"));
    EXPECT_FALSE(resolved.isEmpty());
    EXPECT_EQ(resolveDisplayFamily(QString::fromLatin1(kDefaultDisplayFamily)), resolved);
    EXPECT_EQ(resolveDisplayFamily(QStringLiteral("DejaVu Sans")), QStringLiteral("DejaVu Sans"));
    if (resolveDisplayFamily(QStringLiteral("Terminus")) == QStringLiteral("Terminus")) {
        EXPECT_EQ(resolved, QStringLiteral("Terminus"));
    }
    QFont setting(QString::fromLatin1(kDefaultDisplayFamily));
    setting.setPixelSize(20);
    const QFont drawn = resolveDisplayFont(setting);
    EXPECT_EQ(drawn.family(), resolved);
    EXPECT_EQ(drawn.pixelSize(), 20);
}

TEST(DisplayFont, fixedPitchMeansAll256AdvancesAreEqual) {
    for (const char* family : {"Terminus", "DejaVu Sans Mono"}) {
        if (resolveDisplayFamily(QString::fromLatin1(family)) != QString::fromLatin1(family)) {
            continue;
        }
        for (int px : {12, 14, 16, 20, 24, 32}) {
            QFont font{QString::fromLatin1(family)};
            font.setPixelSize(px);
            const QtGlyphMetrics metrics(font, 96);
            EXPECT_TRUE(metrics.isFixedPitch()) << family << " " << px;
            EXPECT_GT(metrics.fontHeight(), 0);
        }
    }
    // A proportional font is not, whatever Qt's maximum-width figure says.
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setPixelSize(16);
    EXPECT_FALSE(QtGlyphMetrics(sans, 96).isFixedPitch());
}

TEST(DisplayFont, terminusSizesComeFromTheirOwnStrikes) {
    if (resolveDisplayFamily(QStringLiteral("Terminus")) != QStringLiteral("Terminus")) {
        GTEST_SKIP() << "Terminus is not installed";
    }
    QFont font(QStringLiteral("Terminus"));
    font.setPixelSize(16);
    const QtGlyphMetrics small(font, 96);
    font.setPixelSize(32);
    const QtGlyphMetrics large(font, 96);
    EXPECT_EQ(large.spaceWidth(), 2 * small.spaceWidth());
    EXPECT_EQ(large.fontHeight(), 2 * small.fontHeight());
}

TEST(DisplayFont, everyByteHasAGlyphOrIsBlank) {
    QFont font(resolveDisplayFamily(QString::fromLatin1(kDefaultDisplayFamily)));
    const GlyphSet glyphs(font, 16);
    ASSERT_TRUE(glyphs.isValid());
    for (int b = 1; b < 256; ++b) {
        const char16_t u = cp437ToUnicode(static_cast<std::uint8_t>(b));
        const bool blank = u == u' ' || u == u'\u00A0';
        EXPECT_EQ(glyphs.face(static_cast<std::uint8_t>(b)) == GlyphSet::kNoFace, blank)
            << "byte " << b;
        EXPECT_GT(glyphs.advance(static_cast<std::uint8_t>(b)), 0);
    }
}

} // namespace
} // namespace tavrel
