// Decoding and splitting of language files: encodings by byte-order mark, every kind of
// line break, NUL, and files that are empty, cut short or not text at all.
#include "lang/language_text.h"

#include "support/child_process.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace tavrel {
namespace {

using Lines = std::vector<std::u16string>;

std::string utf16(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
        const char hi = static_cast<char>(u >> 8);
        const char lo = static_cast<char>(u & 0xFF);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

TEST(LanguageText, allEncodingsGiveTheSameLines) {
    const std::u16string text = u"|$0407\r\n|Datei\r\n|\u00D6ffnen...\r\n|Gr\u00F6\u00DFe \u20AC";
    const Lines expected = {u"|$0407", u"|Datei", u"|\u00D6ffnen...", u"|Gr\u00F6\u00DFe \u20AC"};
    const std::string ansi = "|$0407\r\n|Datei\r\n|\xD6"
                             "ffnen...\r\n|Gr\xF6\xDF"
                             "e \x80";
    const std::string utf8 = "\xEF\xBB\xBF|$0407\r\n|Datei\r\n|\xC3\x96"
                             "ffnen...\r\n"
                             "|Gr\xC3\xB6\xC3\x9F"
                             "e \xE2\x82\xAC";
    EXPECT_EQ(parseLanguageFile(utf8), expected);
    EXPECT_EQ(parseLanguageFile(utf16(text, false)), expected);
    EXPECT_EQ(parseLanguageFile(utf16(text, true)), expected);
    EXPECT_EQ(parseLanguageFile(ansi), expected);
}

TEST(LanguageText, utf8BodyUsesTheLenientDecoder) {
    EXPECT_EQ(parseLanguageFile("\xEF\xBB\xBF|a\xE2\x41"), Lines{u"|a\uFFFDA"});
}

TEST(LanguageText, oddTrailingByteAfterUtf16MarkIsIgnored) {
    EXPECT_EQ(parseLanguageFile(std::string("\xFF\xFE|\0a\0X", 7)), Lines{u"|a"});
    EXPECT_EQ(parseLanguageFile(std::string("\xFE\xFF\0|\0aX", 7)), Lines{u"|a"});
    EXPECT_EQ(parseLanguageFile("\xFF\xFEX"), Lines{});
}

TEST(LanguageText, shortFilesAreReadAsAnsi) {
    EXPECT_EQ(parseLanguageFile(""), Lines{});
    EXPECT_EQ(parseLanguageFile("\xFF"), Lines{u"\u00FF"});
    // Two bytes of a UTF-8 mark are not a mark.
    EXPECT_EQ(parseLanguageFile("\xEF\xBB"), Lines{u"\u00EF\u00BB"});
    EXPECT_EQ(parseLanguageFile("\xFF\xFE"), Lines{});
}

TEST(LanguageText, splitsAtEveryKindOfBreak) {
    EXPECT_EQ(splitLanguageLines(u"a\r\nb\rc\nd\ve\ff\u2028g\u2029h"),
              (Lines{u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h"}));
    // LF CR is two breaks; CR LF one.
    EXPECT_EQ(splitLanguageLines(u"a\n\rb"), (Lines{u"a", u"", u"b"}));
}

TEST(LanguageText, trailingBreakAddsNoLineButTwoBreaksGiveAnEmptyOne) {
    EXPECT_EQ(splitLanguageLines(u"a\r\n"), Lines{u"a"});
    EXPECT_EQ(splitLanguageLines(u"a\r\n\r\n"), (Lines{u"a", u""}));
    EXPECT_EQ(splitLanguageLines(u"\r\n"), Lines{u""});
    EXPECT_EQ(splitLanguageLines(u"a\r"), Lines{u"a"});
}

TEST(LanguageText, nulEndsTheText) {
    EXPECT_EQ(splitLanguageLines(std::u16string(u"|a\n|b\0\n|c", 9)), (Lines{u"|a", u"|b"}));
    EXPECT_EQ(parseLanguageFile(std::string("\0|a", 3)), Lines{});
}

TEST(LanguageText, onlyRegularFilesAreRead) {
    const test::TempFolder folder;
    std::filesystem::create_directory(folder.path() / "Dutch.olf");
    EXPECT_FALSE(readLanguageFile(folder.path() / "Dutch.olf"));
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFOs among its files";
#else
    const std::string fifo = folder / "German.olf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a FIFO for reading waits for a writer; a child keeps a hang from holding the run.
    const test::ChildOutcome outcome =
        test::runInChild([&] { return !readLanguageFile(fifo); }, std::chrono::seconds(5));
    EXPECT_EQ(outcome, test::ChildOutcome::Passed);
#endif
}

} // namespace
} // namespace tavrel
