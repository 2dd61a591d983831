// The shared export parser with a format of the test's own: what a new format gets without
// writing any parsing (the output forms, value options once each, flags), and that two
// formats on one command line do not mix.
#include "app/export_arguments.h"
#include "app/gif_export_arguments.h"
#include "app/pdf_export_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

using Args = std::vector<std::string>;

struct ScaledRequest : ExportTarget {
    std::int32_t scale = 1;
    int flagsSeen = 0;
};

ExportCommand scaledCommand(ScaledRequest& request) {
    return {"--export-test",
            "draw",
            {{"--scale", "needs a number from 1 to 4",
              [&request](std::string_view v) {
                  const auto scale = wholeNumberIn(v, 1, 4);
                  request.scale = scale.value_or(1);
                  return scale.has_value();
              }},
             {"--loud", "", [&request](std::string_view) {
                  ++request.flagsSeen;
                  return true;
              }}}};
}

ExportArguments<ScaledRequest> parse(const Args& arguments) {
    return parseExportRequest(arguments, &scaledCommand);
}

TEST(ExportArguments, aNewFormatGetsTheSharedFormsAndItsOwnOptions) {
    const auto one = parse({"--scale=3", "--export-test", "out.x", "--loud", "a.nfo"});
    ASSERT_EQ(one.kind, ExportParse::Export) << one.error;
    EXPECT_EQ(one.request.output, "out.x");
    EXPECT_EQ(one.request.files, Args{"a.nfo"});
    EXPECT_EQ(one.request.scale, 3);
    EXPECT_EQ(one.request.flagsSeen, 1);

    const auto many = parse(
        {"--export-test", "--output-dir", "d", "--scale", "2", "a", "--", "--loud", "--loud"});
    ASSERT_EQ(many.kind, ExportParse::Export) << many.error;
    EXPECT_EQ(many.request.outputDir, "d");
    EXPECT_EQ(many.request.files, (Args{"a", "--loud", "--loud"}))
        << "after -- an option is a file";
    EXPECT_EQ(many.request.scale, 2);
    EXPECT_EQ(many.request.flagsSeen, 0);
}

TEST(ExportArguments, aNewFormatsMistakesAreNamedWithItsOwnWords) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--export-test", "o", "--scale", "5", "a"}, "--scale needs a number from 1 to 4"},
        {{"--export-test", "o", "--scale=2", "--scale=2", "a"}, "--scale is given twice"},
        {{"--export-test", "o", "--loud=yes", "a"}, "unknown option '--loud=yes'"},
        {{"--export-test", "o"}, "no file to draw"},
        {{"--export-test"},
         "--export-test needs an output file (or --output-dir DIR for several files)"},
        {{"--export-test", "o", "--wrap", "3", "a"}, "unknown option '--wrap'"},
    };
    for (const auto& [arguments, words] : cases) {
        const auto parsed = parse(arguments);
        SCOPED_TRACE(testing::PrintToString(arguments));
        ASSERT_EQ(parsed.kind, ExportParse::Error);
        EXPECT_EQ(parsed.error, words);
    }
    EXPECT_EQ(parse({"--scale", "2", "a"}).kind, ExportParse::NotExport);
}

TEST(ExportArguments, anotherFormatsOptionsAreUnknownToEachFormat) {
    const Args both = {"--export-gif", "a.gif", "--export-pdf", "a.pdf", "a.nfo"};
    const GifExportArguments gif = parseGifExportArguments(both);
    ASSERT_EQ(gif.kind, ExportParse::Error);
    EXPECT_EQ(gif.error, "unknown option '--export-pdf'");
    const PdfExportArguments pdf = parsePdfExportArguments(both);
    ASSERT_EQ(pdf.kind, ExportParse::Error);
    EXPECT_EQ(pdf.error, "unknown option '--export-gif'");
    EXPECT_EQ(parseGifExportArguments({"--export-gif", "a.gif", "--line-numbers", "a"}).error,
              "unknown option '--line-numbers'");
}

} // namespace
} // namespace tavrel
