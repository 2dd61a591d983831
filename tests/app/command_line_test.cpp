// The command line: a file, --help, --version, "--" and unknown options.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(CommandLine, theFirstPlainArgumentIsTheFileAndTheRestIsIgnored) {
    const CommandLine line = parseCommandLine({"a.nfo", "b.nfo"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.file, "a.nfo");
    EXPECT_EQ(parseCommandLine({}).file, "");
}

TEST(CommandLine, helpAndVersionWinOverAFile) {
    EXPECT_EQ(parseCommandLine({"a.nfo", "--help"}).action, CommandAction::Help);
    EXPECT_EQ(parseCommandLine({"-h"}).action, CommandAction::Help);
    EXPECT_EQ(parseCommandLine({"--version", "--help"}).action, CommandAction::Version);
}

TEST(CommandLine, doubleDashEndsTheOptions) {
    const CommandLine line = parseCommandLine({"--", "--help"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.file, "--help");
    EXPECT_EQ(parseCommandLine({"-"}).file, "-");
}

TEST(CommandLine, anUnknownOptionIsAnErrorThatNamesIt) {
    const CommandLine line = parseCommandLine({"--frobnicate", "a.nfo"});
    EXPECT_EQ(line.action, CommandAction::Error);
    EXPECT_EQ(line.unknownOption, "--frobnicate");
    EXPECT_NE(line.error.find("--frobnicate"), std::string::npos);
}

TEST(CommandLine, versionAndHelpTexts) {
    EXPECT_EQ(versionText(), "Tavrel 4.5.0.0");
    const std::string help = helpText("tavrel");
    EXPECT_EQ(help.rfind("Usage: tavrel [OPTION]... [FILE]\n", 0), 0u);
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_NE(help.find("-h, --help"), std::string::npos);
}

} // namespace
} // namespace tavrel
