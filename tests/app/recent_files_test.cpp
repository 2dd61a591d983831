// The recent-files list: nine items, newest on top, matching without regard to case.
#include "app/recent_files.h"

#include <gtest/gtest.h>

#include <set>

namespace tavrel {
namespace {

using Items = std::vector<std::string>;

RecentFiles listOf(std::set<std::string> existing) {
    return RecentFiles([existing](const std::string& name) { return existing.count(name) > 0; });
}

RecentFiles anythingExists() {
    return RecentFiles([](const std::string&) { return true; });
}

TEST(RecentFiles, tenOpensLeaveTheLastNineNewestFirst) {
    RecentFiles recent = anythingExists();
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(recent.add("/f" + std::to_string(i)));
    }
    EXPECT_EQ(recent.items(),
              (Items{"/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3", "/f2", "/f1"}));
}

TEST(RecentFiles, aNameInOtherLetterCaseMovesTheItemAndKeepsItsFirstCaption) {
    RecentFiles recent = anythingExists();
    recent.add("/Art/One.nfo");
    recent.add("/art/two.nfo");
    recent.add("/ART/ONE.NFO");
    EXPECT_EQ(recent.items(), (Items{"/Art/One.nfo", "/art/two.nfo"}));
}

TEST(RecentFiles, aFileThatIsNotThereIsNotAdded) {
    RecentFiles recent = listOf({"/there"});
    EXPECT_FALSE(recent.add("/gone"));
    EXPECT_TRUE(recent.add("/there"));
    EXPECT_EQ(recent.items(), Items{"/there"});
}

TEST(RecentFiles, theNinthItemIsTrimmedBeforeTheSearchSoItComesBackWithTheNewSpelling) {
    RecentFiles recent = anythingExists();
    for (int i = 0; i < 9; ++i) {
        recent.add("/f" + std::to_string(i));
    }
    ASSERT_EQ(recent.items().back(), "/f0");
    recent.add("/F0");
    EXPECT_EQ(recent.items().front(), "/F0");
    EXPECT_EQ(recent.items().size(), 9u);
    EXPECT_EQ(recent.items().back(), "/f1");
}

TEST(RecentFiles, onlyAsciiLettersFoldSoUtf8NamesStayApart) {
    EXPECT_TRUE(equalsIgnoringAsciiCase("/ABC", "/abc"));
    // "Ä" and "ä" in UTF-8 differ in their second byte; a code-page fold must not join
    // other names by accident either.
    EXPECT_FALSE(equalsIgnoringAsciiCase("/\xC3\x84", "/\xC3\xA4"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("/\xC3\x84", "/\xE3\x84"));
}

TEST(RecentFiles, namesInOtherLetterCaseStayApartWhereTheFileSystemKeepsThemApart) {
    // A case-sensitive file system: case.txt and CASE.txt are two files, only the exact
    // name is the same file.
    int asked = 0;
    RecentFiles recent([](const std::string&) { return true; },
                       [&asked](const std::string& a, const std::string& b) {
                           ++asked;
                           return a == b;
                       });
    recent.add("/t/case.txt");
    recent.add("/t/CASE.txt");
    EXPECT_EQ(recent.items(), (Items{"/t/CASE.txt", "/t/case.txt"}));
    EXPECT_GT(asked, 0);
    recent.add("/t/case.txt"); // the exact name still moves its own item
    EXPECT_EQ(recent.items(), (Items{"/t/case.txt", "/t/CASE.txt"}));
}

TEST(RecentFiles, namesInOtherLetterCaseFoldWhereTheFileSystemSaysTheyAreOneFile) {
    RecentFiles recent(
        [](const std::string&) { return true; },
        [](const std::string& a, const std::string& b) { return equalsIgnoringAsciiCase(a, b); });
    recent.add("/t/case.txt");
    recent.add("/t/other.txt");
    recent.add("/t/CASE.txt");
    EXPECT_EQ(recent.items(), (Items{"/t/case.txt", "/t/other.txt"}));
}

} // namespace
} // namespace tavrel
