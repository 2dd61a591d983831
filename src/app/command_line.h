// The program's command line: "tavrel [FILE]", "--help" and "--version". All options are
// described by one table in command_line.cpp, so that a new option is one row and one field.
#pragma once

#include <functional>
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
    // Arguments after the file (plain or unknown options): ignored, as they always were;
    // the caller warns about them.
    std::vector<std::string> ignored;
};

// Answers whether a name is an existing file; lets a file named like an option be shown.
using FileExists = std::function<bool(const std::string&)>;

// Parses the arguments after the program name. "--" ends the options; an argument that
// starts with "-" but names an existing file is that file. An unknown option before the
// file is an error; once the file is known every further argument is ignored.
[[nodiscard]] CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                                           const FileExists& fileExists = {});

// One line for standard error per ignored argument, "PROGRAM: ignoring argument 'X'".
[[nodiscard]] std::string ignoredArgumentsWarning(std::string_view programName,
                                                  const CommandLine& line);

// The usage text printed by --help.
[[nodiscard]] std::string helpText(std::string_view programName);

// "Tavrel 4.5.0.0", printed by --version.
[[nodiscard]] std::string versionText();

} // namespace tavrel
