// Command-line parsing and the texts of --help and --version.
#include "app/command_line.h"

#include "app/version.h"

#include <array>

namespace tavrel {

namespace {

struct OptionRow {
    std::string_view shortName; // may be empty
    std::string_view longName;
    CommandAction action;
    std::string_view help;
};

constexpr std::array kOptions{
    OptionRow{"-h", "--help", CommandAction::Help, "display this help and exit"},
    OptionRow{"", "--version", CommandAction::Version, "output version information and exit"},
};

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments,
                             const FileExists& fileExists) {
    CommandLine line;
    bool optionsEnded = false;
    const auto takeFile = [&line](const std::string& argument) {
        if (line.file.empty()) {
            line.file = argument;
        } else {
            line.ignored.push_back(argument);
        }
    };
    for (const std::string& argument : arguments) {
        const bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == '-';
        if (!isOption) {
            takeFile(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        bool known = false;
        for (const OptionRow& row : kOptions) {
            if (argument == row.longName || (!row.shortName.empty() && argument == row.shortName)) {
                known = true;
                // The first of --help and --version wins, as in most programs.
                if (line.action == CommandAction::Run) {
                    line.action = row.action;
                }
            }
        }
        if (known) {
            continue;
        }
        if (fileExists && fileExists(argument)) {
            takeFile(argument); // "-notes.diz" that exists is a file, not a mistyped option
        } else if (!line.file.empty()) {
            line.ignored.push_back(argument);
        } else if (line.action == CommandAction::Run) {
            line.action = CommandAction::Error;
            line.error = "unrecognized option '" + argument + "'";
            line.unknownOption = argument;
        }
    }
    return line;
}

std::string ignoredArgumentsWarning(std::string_view programName, const CommandLine& line) {
    std::string text;
    for (const std::string& argument : line.ignored) {
        text += std::string(programName) + ": ignoring argument '" + argument + "'\n";
    }
    return text;
}

std::string helpText(std::string_view programName) {
    std::string text = "Usage: " + std::string(programName) + " [OPTION]... [FILE]\n";
    text += "Show FILE, a plain-text file or code page 437 text art (.nfo, .diz, .txt, .ini),\n"
            "in the Tavrel viewer and editor.\n\n";
    for (const OptionRow& row : kOptions) {
        std::string names = row.shortName.empty() ? "    " : std::string(row.shortName) + ", ";
        names += row.longName;
        text += "  " + names + std::string(names.size() < 16 ? 16 - names.size() : 1, ' ') +
                std::string(row.help) + "\n";
    }
    text += "\nFILE may start with '-' when such a file exists; '--' ends the options for any\n"
            "other name. Arguments after FILE are ignored.\n"
            "\nColumn blocks (word wrap off): Alt+drag, or Alt+Shift+drag where the window\n"
            "manager takes Alt+drag; Ctrl+Shift+B turns a block-selection mode on and off in\n"
            "which a plain drag and Shift+arrows select blocks.\n";
    text += "\nImages of files as the viewer shows them, without a window:\n"
            "  " +
            std::string(programName) +
            " --export-gif OUT.gif|- [--wrap N] FILE\n"
            "  " +
            std::string(programName) +
            " --export-gif --output-dir DIR [--wrap N] FILE...\n"
            "  " +
            std::string(programName) +
            " --export-png OUT.png|- [--scale N] [--wrap N] FILE\n"
            "  " +
            std::string(programName) +
            " --export-png --output-dir DIR [--scale N] [--wrap N] FILE...\n"
            "--scale N (1 to 8) enlarges a PNG image N times, every pixel a square.\n";
    text +=
        "\nA file manager's thumbnail: the first screen of FILE in at most SIZE x SIZE pixels:\n"
        "  " +
        std::string(programName) + " --thumbnail SIZE FILE OUT.png|-\n";
    text += "\nThe text as the viewer shows it, in UTF-8 on standard output (- reads standard\n"
            "input):\n"
            "  " +
            std::string(programName) + " --cat FILE|-\n";
    text += "\nFiles printed to PDF as Print prints them, without a window:\n"
            "  " +
            std::string(programName) +
            " --export-pdf OUT.pdf|- [--columns N] [--line-numbers] FILE\n"
            "  " +
            std::string(programName) +
            " --export-pdf --output-dir DIR [--columns N] [--line-numbers] FILE...\n";
    return text;
}

std::string versionText() {
    return std::string("Tavrel ") + kFileVersion;
}

} // namespace tavrel
