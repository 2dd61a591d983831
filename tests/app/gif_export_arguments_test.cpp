// The export's command line: the forms it accepts, what it leaves to the viewer, and the
// mistakes it names.
#include "app/gif_export_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

using Args = std::vector<std::string>;

struct Accepted {
    Args arguments;
    GifExportRequest expected;
};

TEST(GifExportArguments, acceptedForms) {
    const std::vector<Accepted> cases = {
        // What the run script does when there is no display.
        {{"--export-gif", "build/tavrel-sample.gif", "examples/tavrel-sample.nfo"},
         {"build/tavrel-sample.gif", "", {"examples/tavrel-sample.nfo"}, 0}},
        {{"--export-gif", "-", "a.nfo"}, {"-", "", {"a.nfo"}, 0}},
        {{"--export-gif=out.gif", "--wrap", "80", "a.nfo"}, {"out.gif", "", {"a.nfo"}, 80}},
        {{"a.nfo", "--wrap=12", "--export-gif", "out.gif"}, {"out.gif", "", {"a.nfo"}, 12}},
        {{"--export-gif", "--output-dir", "gifs", "a.nfo", "b.diz"},
         {"", "gifs", {"a.nfo", "b.diz"}, 0}},
        {{"--export-gif", "--output-dir=gifs", "--wrap", "40", "a.nfo"},
         {"", "gifs", {"a.nfo"}, 40}},
        // After "--" a file may start with dashes.
        {{"--export-gif", "out.gif", "--", "--odd name.nfo"},
         {"out.gif", "", {"--odd name.nfo"}, 0}},
    };
    for (const Accepted& c : cases) {
        const GifExportArguments parsed = parseGifExportArguments(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        ASSERT_EQ(parsed.kind, ExportParse::Export) << parsed.error;
        EXPECT_EQ(parsed.request.output, c.expected.output);
        EXPECT_EQ(parsed.request.outputDir, c.expected.outputDir);
        EXPECT_EQ(parsed.request.files, c.expected.files);
        EXPECT_EQ(parsed.request.wrapColumns, c.expected.wrapColumns);
    }
}

TEST(GifExportArguments, withoutTheExportOptionTheArgumentsAreTheViewers) {
    for (const Args& arguments : {Args{}, Args{"a.nfo"}, Args{"--wrap", "8", "a.nfo"},
                                  Args{"--help"}, Args{"--", "--export-gif"}}) {
        EXPECT_EQ(parseGifExportArguments(arguments).kind, ExportParse::NotExport)
            << testing::PrintToString(arguments);
    }
}

struct Refused {
    Args arguments;
    std::string errorPart;
};

TEST(GifExportArguments, mistakesAreNamed) {
    const std::vector<Refused> cases = {
        {{"--export-gif"}, "needs an output file"},
        {{"--export-gif", "out.gif"}, "no file to export"},
        {{"--export-gif", "out.gif", "a.nfo", "b.nfo"}, "several files need --output-dir"},
        {{"--export-gif", "out.gif", "--output-dir", "d", "a.nfo"}, "not both"},
        {{"--export-gif", "--output-dir"}, "--output-dir needs a folder"},
        {{"--export-gif", "--output-dir=", "a.nfo"}, "--output-dir needs a folder"},
        {{"--export-gif", "o.gif", "--wrap", "0", "a.nfo"}, "--wrap needs a number"},
        {{"--export-gif", "o.gif", "--wrap", "-3", "a.nfo"}, "--wrap needs a number"},
        {{"--export-gif", "o.gif", "--wrap", "12x", "a.nfo"}, "--wrap needs a number"},
        {{"--export-gif", "o.gif", "--wrap", "99999999999", "a.nfo"}, "--wrap needs a number"},
        {{"--export-gif", "o.gif", "a.nfo", "--wrap"}, "--wrap needs a number"},
        {{"--export-gif", "o.gif", "--wrap=4", "--wrap=5", "a.nfo"}, "--wrap is given twice"},
        {{"--export-gif", "o.gif", "--export-gif", "p.gif", "a.nfo"}, "given twice"},
        {{"--export-gif", "o.gif", "--colour", "a.nfo"}, "unknown option '--colour'"},
    };
    for (const Refused& c : cases) {
        const GifExportArguments parsed = parseGifExportArguments(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        ASSERT_EQ(parsed.kind, ExportParse::Error);
        EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << parsed.error;
    }
}

} // namespace
} // namespace tavrel
