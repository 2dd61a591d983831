// Locale names to Windows language identifiers.
#include "lang/locale_lang_id.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace tavrel {
namespace {

TEST(LocaleLangId, mapsLocaleNamesToLanguageIdentifiers) {
    const struct {
        std::string_view locale;
        std::uint16_t id;
    } cases[] = {
        // Countries the table knows get their own identifier.
        {"de_DE", 0x0407},
        {"de_AT", 0x0C07},
        {"de_CH", 0x0807},
        {"fr_FR", 0x040C},
        {"fr_CA", 0x0C0C},
        {"pt_BR", 0x0416},
        {"pt_PT", 0x0816},
        {"zh_CN", 0x0804},
        {"zh_TW", 0x0404},
        {"en_US", 0x0409},
        {"en_GB", 0x0809},
        {"es_MX", 0x080A},
        // Encoding, modifier and the BCP 47 dash do not matter.
        {"de_AT.UTF-8", 0x0C07},
        {"de_AT.UTF-8@euro", 0x0C07},
        {"de_AT@euro", 0x0C07},
        {"pt-BR", 0x0416},
        // Unlisted countries and scripts fall back to the language's main identifier.
        {"de", 0x0407},
        {"de_BE", 0x0407},
        {"fr_SN", 0x040C},
        {"sr_Latn_RS", 0x281A},
        {"C", 0x0409},
        {"POSIX.UTF-8", 0x0409},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(langIdForLocale(c.locale), c.id) << c.locale;
    }
}

TEST(LocaleLangId, unknownLanguagesHaveNone) {
    EXPECT_FALSE(langIdForLocale("").has_value());
    EXPECT_FALSE(langIdForLocale("xx_YY").has_value());
    EXPECT_FALSE(langIdForLocale("tlh").has_value());
}

} // namespace
} // namespace tavrel
