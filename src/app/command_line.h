// The program's command line: "tavrel [FILE]", "--help" and "--version". All options are
// described by one table in command_line.cpp, so that a new option is one row and one field.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

enum class CommandAction { Run, Help, Version, Error };

struct CommandLine {
    CommandAction action = CommandAction::Run;
    std::string file;          // the first argument that is not an option; empty for none
    std::string error;         // for CommandAction::Error: what was wrong
    std::string unknownOption; // the option that made it an error
};

// Parses the arguments after the program name. "--" ends the options (a file whose name
// starts with "-" follows it); arguments after the file are ignored, as they always were.
[[nodiscard]] CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The usage text printed by --help.
[[nodiscard]] std::string helpText(std::string_view programName);

// "Tavrel 4.5.0.0", printed by --version.
[[nodiscard]] std::string versionText();

} // namespace tavrel
