// The INI file's reading, lookup, update and rewrite rules, checked byte for byte.
#include "settings/ini_file.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(IniFile, sectionAndKeyLookupIgnoresLetterCase) {
    const IniFile ini = IniFile::parse("[options]\r\nwordwrap=0\r\n");
    EXPECT_EQ(ini.value("Options", "WordWrap"), "0");
    EXPECT_EQ(ini.value("OPTIONS", "WORDWRAP"), "0");
    EXPECT_FALSE(ini.value("Option", "WordWrap"));
}

TEST(IniFile, accentedLettersFoldLikeWindows1252) {
    const IniFile ini = IniFile::parse("[\xC9T\xC9]\nK=1\n"); // "ÉTÉ"
    EXPECT_EQ(ini.value("\xE9t\xE9", "k"), "1");
}

TEST(IniFile, spacesArePartOfKeysAndValues) {
    const IniFile ini = IniFile::parse("[Options]\r\nWordWrap = 0\r\n  Indent=4  \r\n");
    EXPECT_FALSE(ini.value("Options", "WordWrap"));
    EXPECT_EQ(ini.value("Options", "WordWrap "), " 0");
    EXPECT_FALSE(ini.value("Options", "Indent"));
    EXPECT_EQ(ini.value("Options", "  Indent"), "4  ");
}

TEST(IniFile, keyEndsAtTheFirstEqualsSign) {
    const IniFile ini = IniFile::parse("[S]\nnoequals\na=b=c\n=empty key\n");
    EXPECT_EQ(ini.value("S", "a"), "b=c");
    EXPECT_EQ(ini.value("S", ""), "empty key");
    EXPECT_FALSE(ini.value("S", "noequals"));
}

TEST(IniFile, commentsEmptyLinesAndLinesBeforeTheFirstSectionAreDropped) {
    const IniFile ini =
        IniFile::parse("orphan=1\r\n; note\r\n[A]\r\n\r\n;x=1\r\n x=2\r\n[not a section\r\n");
    EXPECT_FALSE(ini.value("A", "orphan"));
    EXPECT_FALSE(ini.value("A", ";x"));
    // A line that only starts with "[" is an ordinary line of the current section.
    EXPECT_EQ(ini.toText(), "[A]\r\n x=2\r\n[not a section\r\n\r\n");
}

TEST(IniFile, everyKindOfLineEndSplitsLines) {
    const IniFile ini = IniFile::parse("[A]\na=1\rb=2\r\nc=3\n\rd=4");
    EXPECT_EQ(ini.toText(), "[A]\r\na=1\r\nb=2\r\nc=3\r\nd=4\r\n\r\n");
}

TEST(IniFile, firstOfRepeatedSectionsAndKeysWins) {
    IniFile ini = IniFile::parse("[A]\nk=1\nk=2\n[B]\n[a]\nk=3\n");
    EXPECT_EQ(ini.value("A", "k"), "1");
    ASSERT_TRUE(ini.setValue("a", "K", "9"));
    EXPECT_EQ(ini.toText(), "[A]\r\nK=9\r\nk=2\r\n\r\n[B]\r\n\r\n[a]\r\nk=3\r\n\r\n");
}

TEST(IniFile, rewritingAKeyKeepsItsPlaceAndNewKeysGoToTheEndOfTheirSection) {
    IniFile ini = IniFile::parse("[Options]\r\nA=1\r\nB=2\r\nC=3\r\n[Find]\r\nText=x\r\n");
    ASSERT_TRUE(ini.setValue("OPTIONS", "b", "20"));
    ASSERT_TRUE(ini.setValue("Options", "D", "4"));
    ASSERT_TRUE(ini.setValue("Window", "Left", "-8"));
    EXPECT_EQ(ini.toText(), "[Options]\r\nA=1\r\nb=20\r\nC=3\r\nD=4\r\n\r\n"
                            "[Find]\r\nText=x\r\n\r\n"
                            "[Window]\r\nLeft=-8\r\n\r\n");
}

TEST(IniFile, flushFormEndsWithAnEmptyLineAfterTheLastSection) {
    IniFile ini;
    EXPECT_EQ(ini.toText(), "");
    ASSERT_TRUE(ini.setValue("Info", "Version", "4.2"));
    EXPECT_EQ(ini.toText(), "[Info]\r\nVersion=4.2\r\n\r\n");
    // An empty section keeps its header and its empty line.
    EXPECT_EQ(IniFile::parse("[Empty]").toText(), "[Empty]\r\n\r\n");
}

TEST(IniFile, textsThatWouldBreakTheFileAreRefused) {
    IniFile ini = IniFile::parse("[Recent Files]\r\n0=a.nfo\r\n");
    EXPECT_FALSE(ini.setValue("Recent Files", "0", "b.nfo\r\n[Options]\r\nOneInstance=1"));
    EXPECT_FALSE(ini.setValue("Recent Files", "0", "line\nbreak"));
    EXPECT_FALSE(ini.setValue("Recent\rFiles", "0", "x"));
    EXPECT_FALSE(ini.setValue("Recent Files", "a=b", "x"));
    EXPECT_FALSE(ini.setValue("Recent Files", ";0", "x"));
    EXPECT_FALSE(ini.setValue("Recent Files", "[0", "x]"));
    EXPECT_TRUE(ini.setValue("Recent Files", "[1", "x"));
    EXPECT_EQ(ini.toText(), "[Recent Files]\r\n0=a.nfo\r\n[1=x\r\n\r\n");
}

TEST(IniFile, nulBytesAreKeptAsOrdinaryBytes) {
    const std::string bytes("[A]\nk=a\0b\n", 10);
    const IniFile ini = IniFile::parse(bytes);
    EXPECT_EQ(ini.value("A", "k"), std::string_view("a\0b", 3));
}

} // namespace
} // namespace tavrel
