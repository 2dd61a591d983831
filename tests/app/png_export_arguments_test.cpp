// The PNG export's command line: --scale from 1 to 8 beside the image options it shares with
// the GIF export, and the mistakes it names.
#include "app/png_export_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

using Args = std::vector<std::string>;

TEST(PngExportArguments, scaleAndWrapAreTakenInEveryForm) {
    struct Case {
        Args arguments;
        std::string output;
        std::string outputDir;
        std::int32_t scale;
        std::int32_t wrap;
    };
    const std::vector<Case> cases = {
        {{"--export-png", "a.png", "a.nfo"}, "a.png", "", 1, 0},
        {{"--export-png", "-", "--scale", "3", "a.nfo"}, "-", "", 3, 0},
        {{"a.nfo", "--scale=8", "--wrap=80", "--export-png=o.png"}, "o.png", "", 8, 80},
        {{"--export-png", "--output-dir", "pngs", "--scale", "1", "a.nfo", "b.diz"},
         "",
         "pngs",
         1,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        const PngExportArguments parsed = parsePngExportArguments(c.arguments);
        ASSERT_EQ(parsed.kind, ExportParse::Export) << parsed.error;
        EXPECT_EQ(parsed.request.output, c.output);
        EXPECT_EQ(parsed.request.outputDir, c.outputDir);
        EXPECT_EQ(parsed.request.scale, c.scale);
        EXPECT_EQ(parsed.request.wrapColumns, c.wrap);
    }
    // The other exports' lines are not this one's, and --scale is not theirs.
    EXPECT_EQ(parsePngExportArguments({"--export-gif", "a.gif", "a.nfo"}).kind,
              ExportParse::NotExport);
    EXPECT_EQ(parsePngExportArguments({"--", "--export-png", "a.nfo"}).kind,
              ExportParse::NotExport);
    EXPECT_NE(parseGifExportArguments({"--export-gif", "a.gif", "--scale", "2", "a.nfo"})
                  .error.find("unknown option '--scale'"),
              std::string::npos);
}

TEST(PngExportArguments, aScaleOutsideOneToEightIsRefused) {
    for (const char* scale : {"0", "9", "-1", "2.5", "x", ""}) {
        const PngExportArguments parsed =
            parsePngExportArguments({"--export-png", "o.png", "--scale", scale, "a.nfo"});
        ASSERT_EQ(parsed.kind, ExportParse::Error) << scale;
        EXPECT_NE(parsed.error.find("--scale needs a whole number from 1 to 8"), std::string::npos)
            << parsed.error;
    }
    EXPECT_NE(parsePngExportArguments({"--export-png", "o.png", "--scale=2", "--scale=3", "a"})
                  .error.find("--scale is given twice"),
              std::string::npos);
}

} // namespace
} // namespace tavrel
