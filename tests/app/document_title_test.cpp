// Caption, file class and the Save as extension rule.
#include "app/document_title.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tavrel {
namespace {

TEST(WindowCaption, namesTheFileAfterTheProgram) {
    EXPECT_EQ(windowCaption(""), "Tavrel");
    EXPECT_EQ(windowCaption("/home/u/a.nfo"), "Tavrel - /home/u/a.nfo");
}

struct ClassCase {
    const char* path;
    const char* fileClass;
};

// Test names show the case, not the bytes of the struct.
void PrintTo(const ClassCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class FileClass : public ::testing::TestWithParam<ClassCase> {};

TEST_P(FileClass, followsTheExtensionLengthRule) {
    EXPECT_EQ(fileClassOf(GetParam().path), GetParam().fileClass) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileClass,
    ::testing::Values(ClassCase{"", "Other"}, ClassCase{"/a/file.diz", "diz"},
                      ClassCase{"/a/FILE.NFO", "nfo"}, ClassCase{"/a/page.html", "html"},
                      ClassCase{"/a/main.c", "Other"}, ClassCase{"/a/README.md", "Other"},
                      ClassCase{"/a/README", "Other"}, ClassCase{"/a.b/README", "Other"},
                      ClassCase{"/a/archive.tar.gz", "Other"}, ClassCase{"/a/.bashrc", "bashrc"},
                      ClassCase{"C:\\art\\x.Diz", "diz"}, ClassCase{"/a/x.", "Other"}));

TEST(FileNameParts, splitAtTheLastSeparator) {
    EXPECT_EQ(fileNamePart("/home/u/a.nfo"), "a.nfo");
    EXPECT_EQ(folderPart("/home/u/a.nfo"), "/home/u/");
    EXPECT_EQ(fileNamePart("a.nfo"), "a.nfo");
    EXPECT_EQ(folderPart("a.nfo"), "");
    EXPECT_EQ(extensionOf("/x.y/z"), "");
    EXPECT_EQ(extensionOf("/x/z.txt"), ".txt");
}

TEST(SaveAsName, appendsTxtOnlyToANameWithoutExtension) {
    EXPECT_EQ(saveAsName("/tmp/report"), "/tmp/report.txt");
    EXPECT_EQ(saveAsName("/tmp/report.nfo"), "/tmp/report.nfo");
    EXPECT_EQ(saveAsName("/tmp.d/report"), "/tmp.d/report.txt");
    EXPECT_EQ(saveAsName("/tmp/report."), "/tmp/report.");
}

} // namespace
} // namespace tavrel
