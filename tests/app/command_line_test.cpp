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

TEST(CommandLine, anArgumentThatLooksLikeAnOptionButNamesAnExistingFileIsThatFile) {
    const FileExists exists = [](const std::string& name) { return name == "-notes.diz"; };
    const CommandLine line = parseCommandLine({"-notes.diz"}, exists);
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.file, "-notes.diz");
    EXPECT_TRUE(line.ignored.empty());
    // A name that does not exist stays an unknown option, reported as one.
    EXPECT_EQ(parseCommandLine({"-other.diz"}, exists).action, CommandAction::Error);
    // Known options keep their meaning even when a file of that name exists.
    EXPECT_EQ(parseCommandLine({"--help"}, [](const std::string&) { return true; }).action,
              CommandAction::Help);
}

TEST(CommandLine, everythingAfterTheFileIsIgnoredNotRefused) {
    const CommandLine line = parseCommandLine({"file.nfo", "--x", "second.nfo", "-y"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.file, "file.nfo");
    EXPECT_EQ(line.ignored, (std::vector<std::string>{"--x", "second.nfo", "-y"}));
    EXPECT_EQ(ignoredArgumentsWarning("tavrel", line), "tavrel: ignoring argument '--x'\n"
                                                       "tavrel: ignoring argument 'second.nfo'\n"
                                                       "tavrel: ignoring argument '-y'\n");
    EXPECT_EQ(ignoredArgumentsWarning("tavrel", parseCommandLine({"a.nfo"})), "");
}

TEST(CommandLine, doubleDashThenADashedNameAndMore) {
    const CommandLine line = parseCommandLine({"--", "-notes.diz", "--version"});
    EXPECT_EQ(line.action, CommandAction::Run);
    EXPECT_EQ(line.file, "-notes.diz");
    EXPECT_EQ(line.ignored, (std::vector<std::string>{"--version"}));
}

TEST(CommandLine, versionAndHelpTexts) {
    EXPECT_EQ(versionText(), "Tavrel 4.5.0.0");
    const std::string help = helpText("tavrel");
    EXPECT_EQ(help.rfind("Usage: tavrel [OPTION]... [FILE]\n", 0), 0u);
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_NE(help.find("-h, --help"), std::string::npos);
    // The ways to make a column block where the window manager takes Alt+drag.
    EXPECT_NE(help.find("Alt+Shift+drag"), std::string::npos);
    EXPECT_NE(help.find("tavrel --export-png OUT.png|- [--scale N] [--wrap N] FILE\n"),
              std::string::npos);
    EXPECT_NE(help.find("Ctrl+Shift+B"), std::string::npos);
    EXPECT_NE(help.find("'--' ends the options"), std::string::npos);
}

} // namespace
} // namespace tavrel
