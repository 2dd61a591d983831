// The SAUCE reader on records built byte by byte here, on damaged ones, and on the corpus's
// art, whose fields are as ansilove's record display (-s) lists them.
#include "support/corpus.h"
#include "text/sauce.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

std::string padded(std::string text, std::size_t size, char pad = ' ') {
    text.resize(size, pad);
    return text;
}

// A record laid out by the format's table: id, version, 35+20+20 text, date, size, types,
// four 16-bit infos, comment count, flags, font name.
std::string record(std::uint8_t comments = 0) {
    return "SAUCE00" + padded("Title", 35) + padded("Author", 20) + padded("Group", 20) +
           "19960704" + std::string("\x10\x27\x00\x00", 4) + "\x01\x01" +
           std::string("\xA0\x00\x32\x00\x03\x00\x04\x01", 8) + char(comments) + "\x01" +
           padded("IBM VGA", 22, '\0');
}

TEST(SauceTest, readsEveryFieldAndEndsTheTextAtCtrlZ) {
    const std::string file = "art\x1A" + std::string(3, '\0') + record();
    ASSERT_EQ(record().size(), kSauceRecordSize);
    const SauceSplit split = readSauce(file);
    ASSERT_TRUE(split.record);
    const SauceRecord& r = *split.record;
    EXPECT_EQ(split.textLength, 3u);
    EXPECT_EQ(r.title, "Title");
    EXPECT_EQ(r.author, "Author");
    EXPECT_EQ(r.group, "Group");
    EXPECT_EQ(r.date, "19960704");
    EXPECT_EQ(r.fileSize, 10000u);
    EXPECT_EQ(r.dataType, 1);
    EXPECT_EQ(r.fileType, 1);
    EXPECT_EQ(r.tInfo1, 160);
    EXPECT_EQ(r.tInfo2, 50);
    EXPECT_EQ(r.tInfo3, 3);
    EXPECT_EQ(r.tInfo4, 260);
    EXPECT_EQ(r.fontName, "IBM VGA");
    EXPECT_EQ(r.columns(), 160);
    EXPECT_TRUE(r.iceColours());
    EXPECT_TRUE(r.isAnsi());
    EXPECT_TRUE(r.comments.empty());
}

TEST(SauceTest, readsTheCommentBlockAndTheTextEndsBeforeIt) {
    const std::string file =
        "art" + std::string("COMNT") + padded("first line", 64) + padded("second", 64) + record(2);
    const SauceSplit split = readSauce(file);
    ASSERT_TRUE(split.record);
    EXPECT_EQ(split.record->comments, (std::vector<std::string>{"first line", "second"}));
    EXPECT_EQ(split.textLength, 3u);
}

TEST(SauceTest, damagedOrMissingRecordsLeaveTheTextWhole) {
    struct Case {
        const char* name;
        std::string file;
        bool hasRecord;
        std::size_t textLength;
        std::size_t comments;
    };
    const std::string longText(300, 'x');
    const Case cases[] = {
        {"no record", longText + "\x1A", false, 301, 0},
        {"shorter than a record", "SAUCE00", false, 7, 0},
        {"record not at the end", record() + "x", false, 129, 0},
        {"wrong version", "ab" + record().replace(5, 2, "99"), false, 130, 0},
        {"comment count without a block", "ab" + record(3), true, 2, 0},
        {"comment count past the start of the file", record(200), true, 0, 0},
        {"block one line short", "COMNT" + padded("x", 64) + record(2), true, 69, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SauceSplit split = readSauce(c.file);
        EXPECT_EQ(split.record.has_value(), c.hasRecord);
        EXPECT_EQ(split.textLength, c.textLength);
        if (split.record) {
            EXPECT_EQ(split.record->comments.size(), c.comments);
        }
    }
}

TEST(SauceTest, corpusRecordsReadAsAnotherReaderListsThem) {
    const auto file = test::readFile(test::corpusDir() / "nfo" / "cl-al05.ans");
    if (file.empty()) {
        GTEST_SKIP() << "corpus not found at " << test::corpusDir();
    }
    const SauceSplit split = readSauce(file);
    ASSERT_TRUE(split.record);
    const SauceRecord& r = *split.record;
    EXPECT_EQ(r.title, "Ansilove - September 207");
    EXPECT_EQ(r.author, "Cleaner");
    EXPECT_EQ(r.group, "Fuel");
    EXPECT_EQ(r.date, "20170921");
    EXPECT_EQ(r.dataType, 1);
    EXPECT_EQ(r.fileType, 1);
    EXPECT_EQ(r.flags, 0b00010010);
    EXPECT_EQ(r.tInfo1, 80);
    EXPECT_EQ(r.tInfo2, 25);
    EXPECT_EQ(r.fontName, "IBM VGA");
    EXPECT_FALSE(r.iceColours());
    // The text ends at the file's first Ctrl+Z, 129 bytes from its end.
    EXPECT_EQ(split.textLength, file.size() - 129);
}

} // namespace
} // namespace tavrel
