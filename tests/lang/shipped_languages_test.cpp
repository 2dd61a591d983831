// The language files we ship: each holds a text for every number the program uses, declares
// its languages, and is copied beside the program by the build.
#include "lang/language_strings.h"
#include "lang/language_text.h"
#include "lang/locale_lang_id.h"
#include "text/code_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tavrel {
namespace {

namespace fs = std::filesystem;

// Component tags and message numbers the program looks up.
std::vector<int> usedNumbers() {
    std::vector<int> numbers = {10,  11,  12,  13,  93,  96,  97,  98,  101, 102,
                                103, 104, 108, 109, 110, 112, 115, 116, 117, 118,
                                410, 420, 421, 422, 423, 424, 528, 529};
    const std::pair<int, int> ranges[] = {{17, 27}, {29, 37},   {42, 69},   {71, 74},
                                          {80, 86}, {460, 468}, {500, 507}, {550, 550}};
    for (const auto& [first, last] : ranges) {
        for (int n = first; n <= last; ++n) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

LanguageStrings load(const std::string& file) {
    const auto lines = readLanguageFile(fs::path(TAVREL_SOURCE_DIR) / "languages" / file);
    EXPECT_TRUE(lines.has_value()) << file;
    return LanguageStrings(lines.value_or(std::vector<std::u16string>{}));
}

TEST(ShippedLanguages, everyUsedNumberHasAText) {
    for (const char* file : {"English.olf", "German.olf"}) {
        const LanguageStrings strings = load(file);
        for (const int n : usedNumbers()) {
            EXPECT_FALSE(strings.getLangString(n).empty()) << file << " line " << n;
            EXPECT_EQ(codePageToWide(strings.getLangString(n)), strings.getLangWideString(n, u""))
                << file << " line " << n << " has a character outside the code page";
        }
    }
}

TEST(ShippedLanguages, englishReproducesTheBuiltInTexts) {
    const LanguageStrings en = load("English.olf");
    EXPECT_EQ(en.getLangString(17), "File");
    EXPECT_EQ(en.getLangString(69), "Join Lines");
    EXPECT_EQ(en.getLangString(93), "Highlighted keywords (one keyword per line)");
    EXPECT_EQ(en.getLangString(118), "Show Line Numbers");
}

TEST(ShippedLanguages, filesDeclareTheirLanguages) {
    const LanguageStrings en = load("English.olf");
    for (const std::uint16_t id : {0x0409, 0x0809, 0x0C09, 0x1009, 0x1409, 0x1809}) {
        EXPECT_TRUE(en.declaresLanguage(id)) << id;
    }
    const LanguageStrings de = load("German.olf");
    for (const std::uint16_t id : {0x0407, 0x0807, 0x0C07}) {
        EXPECT_TRUE(de.declaresLanguage(id)) << id;
        EXPECT_FALSE(en.declaresLanguage(id)) << id;
    }
    EXPECT_EQ(de.getLangString(30), "R\xFC"
                                    "ckg\xE4ngig");
}

TEST(ShippedLanguages, everyGermanSpeakingLocaleFindsTheGermanFile) {
    const LanguageStrings de = load("German.olf");
    // Germany, Austria, Switzerland, Luxembourg and Liechtenstein; the ids are Windows'
    // LANGIDs for those countries.
    const std::pair<const char*, std::uint16_t> locales[] = {
        {"de_DE", 0x0407}, {"de_AT", 0x0C07}, {"de_CH", 0x0807},
        {"de_LU", 0x1007}, {"de_LI", 0x1407},
    };
    for (const auto& [locale, id] : locales) {
        EXPECT_EQ(langIdForLocale(locale), id) << locale;
        EXPECT_TRUE(de.declaresLanguage(id)) << locale;
    }
}

TEST(ShippedLanguages, buildCopiesThemBesideTheProgram) {
    for (const char* file : {"English.olf", "German.olf"}) {
        const fs::path copy = fs::path(TAVREL_BINARY_DIR) / "bin" / "languages" / file;
        ASSERT_TRUE(fs::exists(copy)) << copy;
        EXPECT_EQ(fs::file_size(copy),
                  fs::file_size(fs::path(TAVREL_SOURCE_DIR) / "languages" / file));
    }
}

} // namespace
} // namespace tavrel
