// One pass that collects options and file names, then the checks that say in a sentence
// what is missing or contradictory.
#include "app/pdf_export_arguments.h"

#include "app/export_arguments.h"
#include "app/option_words.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>

namespace tavrel {

namespace {

PdfExportArguments failure(std::string error) {
    PdfExportArguments result;
    result.kind = PdfExportParse::Error;
    result.error = std::move(error);
    return result;
}

} // namespace

PdfExportArguments parsePdfExportArguments(const std::vector<std::string>& arguments) {
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), kEndOfOptions);
    if (std::none_of(arguments.begin(), optionsEnd,
                     [](const std::string& a) { return namesOption(a, kExportPdfOption); })) {
        return {};
    }
    PdfExportArguments result;
    result.kind = PdfExportParse::Export;
    PdfExportRequest& request = result.request;
    bool haveOutput = false;
    bool haveDir = false;
    bool haveColumns = false;
    bool optionsOver = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsOver && argument == kEndOfOptions) {
            optionsOver = true;
            continue;
        }
        if (optionsOver || !isLongOption(argument)) {
            request.files.emplace_back(argument);
            continue;
        }
        const auto takeValue = [&](std::string_view name, bool optional) {
            if (const auto given = inlineValue(argument, name)) {
                return std::optional<std::string>(*given);
            }
            const bool nextIsValue =
                i + 1 < arguments.size() && !(optional && isLongOption(arguments[i + 1]));
            return nextIsValue ? std::optional<std::string>(arguments[++i]) : std::nullopt;
        };
        if (namesOption(argument, kExportPdfOption)) {
            if (haveOutput) {
                return failure(std::string(kExportPdfOption) + " is given twice");
            }
            haveOutput = true;
            if (const auto value = takeValue(kExportPdfOption, true)) {
                request.output = *value;
            }
        } else if (namesOption(argument, kOutputDirOption)) {
            const auto value = takeValue(kOutputDirOption, false);
            if (haveDir || !value || value->empty()) {
                return failure(std::string(kOutputDirOption) +
                               (haveDir ? " is given twice" : " needs a folder"));
            }
            haveDir = true;
            request.outputDir = *value;
        } else if (namesOption(argument, kColumnsOption)) {
            const auto value = takeValue(kColumnsOption, false);
            std::int32_t columns = 0;
            bool valid = false;
            if (value) {
                const char* end = value->data() + value->size();
                const auto [stop, error] = std::from_chars(value->data(), end, columns);
                valid = error == std::errc() && stop == end && columns >= 1 &&
                        columns <= kMaxPrintColumns;
            }
            if (haveColumns || !valid) {
                return failure(std::string(kColumnsOption) +
                               (haveColumns ? " is given twice" : " needs a number from 1 to 10"));
            }
            haveColumns = true;
            request.columns = columns;
        } else if (argument == kLineNumbersOption) {
            request.lineNumbers = true;
        } else {
            return failure("unknown option '" + std::string(argument) + "'");
        }
    }
    if (haveDir && !request.output.empty()) {
        return failure("give either an output file after " + std::string(kExportPdfOption) +
                       " or " + kOutputDirOption + ", not both");
    }
    if (!haveDir && request.output.empty()) {
        return failure(std::string(kExportPdfOption) + " needs an output file (or " +
                       kOutputDirOption + " DIR for several files)");
    }
    if (request.files.empty()) {
        return failure("no file to print");
    }
    if (!haveDir && request.files.size() > 1) {
        return failure("several files need " + std::string(kOutputDirOption) +
                       " DIR; one output file takes one input file");
    }
    return result;
}

std::string proposedPdfName(const std::string& file) {
    std::filesystem::path name = std::filesystem::path(file).filename();
    if (name.empty() || name == "." || name == "..") {
        name = "document";
    }
    name.replace_extension(".pdf");
    return name.string();
}

} // namespace tavrel
