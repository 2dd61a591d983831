// The command line of printing to a file: the forms it accepts, what it leaves to the
// viewer, and the mistakes it names.
#include "app/pdf_export_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

using Args = std::vector<std::string>;

TEST(PdfExportArguments, acceptedForms) {
    struct Case {
        Args arguments;
        std::string output;
        std::string dir;
        Args files;
        int columns;
        bool numbers;
    };
    const Case cases[] = {
        {{"--export-pdf", "out.pdf", "a.nfo"}, "out.pdf", "", {"a.nfo"}, 1, false},
        {{"--export-pdf=out.pdf", "--columns", "3", "a.nfo"}, "out.pdf", "", {"a.nfo"}, 3, false},
        {{"--columns=10", "--line-numbers", "--export-pdf", "-", "a.nfo"},
         "-",
         "",
         {"a.nfo"},
         10,
         true},
        {{"--export-pdf", "--output-dir", "out", "a.nfo", "b.txt"},
         "",
         "out",
         {"a.nfo", "b.txt"},
         1,
         false},
        {{"--export-pdf", "o.pdf", "--", "--line-numbers"},
         "o.pdf",
         "",
         {"--line-numbers"},
         1,
         false},
    };
    for (const Case& c : cases) {
        const PdfExportArguments parsed = parsePdfExportArguments(c.arguments);
        ASSERT_EQ(parsed.kind, ExportParse::Export) << parsed.error;
        EXPECT_EQ(parsed.request.output, c.output);
        EXPECT_EQ(parsed.request.outputDir, c.dir);
        EXPECT_EQ(parsed.request.files, c.files);
        EXPECT_EQ(parsed.request.columns, c.columns);
        EXPECT_EQ(parsed.request.lineNumbers, c.numbers);
    }
}

TEST(PdfExportArguments, withoutTheOptionTheArgumentsAreTheViewers) {
    EXPECT_EQ(parsePdfExportArguments({"a.nfo"}).kind, ExportParse::NotExport);
    EXPECT_EQ(parsePdfExportArguments({"--columns", "3", "a.nfo"}).kind, ExportParse::NotExport);
    EXPECT_EQ(parsePdfExportArguments({"--", "--export-pdf"}).kind, ExportParse::NotExport);
}

TEST(PdfExportArguments, mistakesAreNamed) {
    struct Case {
        Args arguments;
        std::string words;
    };
    const Case cases[] = {
        {{"--export-pdf", "o.pdf", "--columns", "0", "a"}, "1 to 10"},
        {{"--export-pdf", "o.pdf", "--columns", "11", "a"}, "1 to 10"},
        {{"--export-pdf", "o.pdf", "--columns", "2x", "a"}, "1 to 10"},
        {{"--export-pdf", "o.pdf", "--columns"}, "1 to 10"},
        {{"--export-pdf", "o.pdf", "--columns", "2", "--columns", "3", "a"}, "twice"},
        {{"--export-pdf", "o.pdf"}, "no file"},
        {{"--export-pdf", "o.pdf", "a", "b"}, "--output-dir"},
        {{"--export-pdf", "a"}, "no file"},
        {{"--export-pdf", "--output-dir", "d"}, "no file"},
        {{"--export-pdf"}, "needs an output file"},
        {{"--export-pdf", "o.pdf", "--output-dir", "d", "a"}, "not both"},
        {{"--export-pdf", "o.pdf", "--wrap", "3", "a"}, "unknown option '--wrap'"},
    };
    for (const Case& c : cases) {
        const PdfExportArguments parsed = parsePdfExportArguments(c.arguments);
        EXPECT_EQ(parsed.kind, ExportParse::Error) << c.words;
        EXPECT_NE(parsed.error.find(c.words), std::string::npos) << parsed.error;
    }
}

TEST(PdfExportArguments, namesInAFolderFollowTheFile) {
    EXPECT_EQ(proposedPdfName("/art/cool.nfo"), "cool.pdf");
    EXPECT_EQ(proposedPdfName("README"), "README.pdf");
    EXPECT_EQ(proposedPdfName("a.b.txt"), "a.b.pdf");
}

} // namespace
} // namespace tavrel
