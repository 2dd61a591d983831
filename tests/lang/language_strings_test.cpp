// Numbered texts: the marker rule, the defaults, the code-page conversion and the language
// declaration on line 0.
#include "lang/language_strings.h"

#include "lang/language_text.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

TEST(LanguageStrings, firstCharacterIsTheMarker) {
    const LanguageStrings strings(parseLanguageFile("|$0407\r\n|Datei\r\nDatei\r\n|\r\n"));
    EXPECT_EQ(strings.getLangWideString(1, u"x"), u"Datei");
    EXPECT_EQ(strings.getLangWideString(2, u"x"), u"atei");
    EXPECT_EQ(strings.getLangWideString(3, u"x"), u"");
}

TEST(LanguageStrings, theOwnNameIsWhatLineZeroSaysBesideTheIdentifiers) {
    const std::pair<const char*, std::u16string> cases[] = {
        {"|$0407 $0807 $0c07 Deutsch\r\n", u"Deutsch"},
        {"\xEF\xBB\xBF|Portugu\xC3\xAAs do Brasil  $0416\t\r\n", u"Portugu\u00EAs do Brasil"},
        {"|$0409 $0809\r\n", u""},
        {"|\r\n|File\r\n", u""},
        {"", u""},
    };
    for (const auto& [file, name] : cases) {
        EXPECT_EQ(LanguageStrings(parseLanguageFile(file)).ownName(), name) << file;
    }
}

TEST(LanguageStrings, missingLinesGiveTheDefault) {
    const LanguageStrings none;
    EXPECT_EQ(none.getLangWideString(0, u"built-in"), u"built-in");
    EXPECT_EQ(none.getLangString(17, "File"), "File");
    EXPECT_EQ(none.getLangString(17), "");

    const LanguageStrings strings(parseLanguageFile("|x\n|y\n"));
    EXPECT_EQ(strings.getLangWideString(2, u"d"), u"d");
    EXPECT_EQ(strings.getLangWideString(-1, u"d"), u"d");
}

TEST(LanguageStrings, emptyTextGivesTheDefaultOnlyAsCodePageString) {
    const LanguageStrings strings(parseLanguageFile("|\n|\n"));
    EXPECT_EQ(strings.getLangWideString(1, u"kept"), u"");
    EXPECT_EQ(strings.getLangString(1, "kept"), "kept");
}

TEST(LanguageStrings, codePageStringReplacesWhatItCannotHold) {
    const LanguageStrings strings(parseLanguageFile("\xEF\xBB\xBF|\n|Gr\xC3\xB6\xC3\x9F"
                                                    "e \xE4\xB8\xAD\xE2\x82\xAC"));
    EXPECT_EQ(strings.getLangString(1), "Gr\xF6\xDF"
                                        "e ?\x80");
}

TEST(LanguageStrings, fiftyLineFileLeavesHigherNumbersAtTheirDefaults) {
    std::string file;
    for (int i = 0; i < 50; ++i) {
        file += "|text " + std::to_string(i) + "\r\n";
    }
    const LanguageStrings strings(parseLanguageFile(file));
    ASSERT_EQ(strings.lineCount(), 50u);
    EXPECT_EQ(strings.getLangString(49, "default"), "text 49");
    for (const int number : {50, 62, 96, 101, 118}) {
        EXPECT_EQ(strings.getLangString(number, "default"), "default") << number;
        EXPECT_EQ(strings.getLangString(number), "") << number;
    }
}

TEST(LanguageStrings, languageKeyIsLowerCaseHex) {
    EXPECT_EQ(languageKey(0x0C07), u"$0c07");
    EXPECT_EQ(languageKey(0x040C), u"$040c");
    EXPECT_EQ(languageKey(0x0409), u"$0409");
}

TEST(LanguageStrings, declarationIsACaseSensitiveSubstringAfterTheMarker) {
    const LanguageStrings german(parseLanguageFile("|$0407 $0c07 German\n|Datei\n"));
    EXPECT_TRUE(german.declaresLanguage(0x0C07));
    EXPECT_TRUE(german.declaresLanguage(0x0407));
    EXPECT_FALSE(german.declaresLanguage(0x0807));

    const LanguageStrings upper(parseLanguageFile("|$0407 $0C07\n"));
    EXPECT_FALSE(upper.declaresLanguage(0x0C07));

    const LanguageStrings glued(parseLanguageFile("|xx$0407yy\n"));
    EXPECT_TRUE(glued.declaresLanguage(0x0407));

    // The "$" in the marker position is dropped with the marker.
    const LanguageStrings markerDollar(parseLanguageFile("$0407\n"));
    EXPECT_FALSE(markerDollar.declaresLanguage(0x0407));

    EXPECT_FALSE(LanguageStrings().declaresLanguage(0x0409));
}

} // namespace
} // namespace tavrel
