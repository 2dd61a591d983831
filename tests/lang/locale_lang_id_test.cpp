// Locale names to Windows language identifiers.
#include "lang/locale_lang_id.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(LocaleLangId, knownCountriesGetTheirOwnIdentifier) {
    EXPECT_EQ(langIdForLocale("de_DE"), 0x0407);
    EXPECT_EQ(langIdForLocale("de_AT"), 0x0C07);
    EXPECT_EQ(langIdForLocale("de_CH"), 0x0807);
    EXPECT_EQ(langIdForLocale("fr_FR"), 0x040C);
    EXPECT_EQ(langIdForLocale("fr_CA"), 0x0C0C);
    EXPECT_EQ(langIdForLocale("pt_BR"), 0x0416);
    EXPECT_EQ(langIdForLocale("pt_PT"), 0x0816);
    EXPECT_EQ(langIdForLocale("zh_CN"), 0x0804);
    EXPECT_EQ(langIdForLocale("zh_TW"), 0x0404);
    EXPECT_EQ(langIdForLocale("en_US"), 0x0409);
    EXPECT_EQ(langIdForLocale("en_GB"), 0x0809);
    EXPECT_EQ(langIdForLocale("es_MX"), 0x080A);
}

TEST(LocaleLangId, encodingModifierAndDashAreIgnored) {
    EXPECT_EQ(langIdForLocale("de_AT.UTF-8"), 0x0C07);
    EXPECT_EQ(langIdForLocale("de_AT.UTF-8@euro"), 0x0C07);
    EXPECT_EQ(langIdForLocale("de_AT@euro"), 0x0C07);
    EXPECT_EQ(langIdForLocale("pt-BR"), 0x0416);
}

TEST(LocaleLangId, unlistedCountriesFallBackToTheLanguage) {
    EXPECT_EQ(langIdForLocale("de"), 0x0407);
    EXPECT_EQ(langIdForLocale("de_BE"), 0x0407);
    EXPECT_EQ(langIdForLocale("fr_SN"), 0x040C);
    EXPECT_EQ(langIdForLocale("sr_Latn_RS"), 0x281A);
    EXPECT_EQ(langIdForLocale("C"), 0x0409);
    EXPECT_EQ(langIdForLocale("POSIX.UTF-8"), 0x0409);
}

TEST(LocaleLangId, unknownLanguagesHaveNone) {
    EXPECT_FALSE(langIdForLocale("").has_value());
    EXPECT_FALSE(langIdForLocale("xx_YY").has_value());
    EXPECT_FALSE(langIdForLocale("tlh").has_value());
}

} // namespace
} // namespace tavrel
