// The one parser of the export command lines: every format ("--export-gif OUT FILE",
// "--export-pdf ...") shares the output forms (OUT "-" is standard output; "--output-dir DIR
// FILE..." for several files), "--" and the option words; a format brings only a small table
// of its own options. No toolkit, so every form and every mistake is checked in plain tests.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrel {

inline constexpr const char* kOutputDirOption = "--output-dir";
// OUT that names standard output.
inline constexpr const char* kStandardOutputName = "-";

// Where an export's files come from and go, the same for every format.
struct ExportTarget {
    std::string output;    // one file: a file name or "-"; empty with outputDir
    std::string outputDir; // several files, each named after its input; empty with output
    std::vector<std::string> files;
};

enum class ExportParse : std::uint8_t { NotExport, Export, Error };

template <class Request>
struct ExportArguments {
    ExportParse kind = ExportParse::NotExport;
    Request request;
    std::string error; // for Error: what was wrong, in a sentence
};

// One option of a format. With `needs` it takes a value (after "=" or as the next argument),
// may be given once, and `apply` keeps the value or answers false, refused as "NAME NEEDS".
// Without `needs` it is a flag and `apply` gets an empty value.
struct ExportOption {
    std::string_view name;
    std::string_view needs; // e.g. "needs a number from 1 to 10"; empty for a flag
    std::function<bool(std::string_view value)> apply;
};

// What a format is on the command line: the option that asks for it, the word for its work
// ("export": "no file to export") and its own options.
struct ExportCommand {
    std::string_view option;
    std::string_view work;
    std::vector<ExportOption> options;
};

// Parses the arguments after the program name into `target` and, through the options'
// `apply`, the format's own fields. NotExport when `command.option` is not before "--": the
// arguments are then someone else's and nothing is checked; Error with `error` set.
[[nodiscard]] ExportParse parseExportArguments(const std::vector<std::string>& arguments,
                                               const ExportCommand& command, ExportTarget& target,
                                               std::string& error);

// The same, filling a whole request of a format whose request is an ExportTarget.
template <class Request>
[[nodiscard]] ExportArguments<Request> parseExportRequest(const std::vector<std::string>& arguments,
                                                          ExportCommand (*command)(Request&)) {
    ExportArguments<Request> result;
    result.kind =
        parseExportArguments(arguments, command(result.request), result.request, result.error);
    return result;
}

// A whole decimal number from `low` to `high`; nothing for any other text.
[[nodiscard]] std::optional<std::int32_t> wholeNumberIn(std::string_view text, std::int32_t low,
                                                        std::int32_t high);

} // namespace tavrel
