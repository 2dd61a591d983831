// Parsing of the export's command line: one pass that collects options and file names, then
// the checks that say in a sentence what is missing or contradictory.
#include "app/export_arguments.h"
#include "app/option_words.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace tavrel {

namespace {

std::optional<std::int32_t> positiveNumber(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value <= 0) {
        return std::nullopt;
    }
    return value;
}

GifExportArguments failure(std::string error) {
    GifExportArguments result;
    result.kind = GifExportParse::Error;
    result.error = std::move(error);
    return result;
}

} // namespace

GifExportArguments parseGifExportArguments(const std::vector<std::string>& arguments) {
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), kEndOfOptions);
    if (std::none_of(arguments.begin(), optionsEnd,
                     [](const std::string& a) { return namesOption(a, kExportGifOption); })) {
        return {};
    }

    GifExportArguments result;
    result.kind = GifExportParse::Export;
    GifExportRequest& request = result.request;
    bool haveOutput = false;
    bool haveDir = false;
    bool haveWrap = false;
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
        // The option's value: after "=", or the next argument. "--export-gif" alone before
        // another option has none (the "--output-dir" form).
        const auto takeValue = [&](std::string_view name, bool optional) {
            if (const auto given = inlineValue(argument, name)) {
                return std::optional<std::string>(*given);
            }
            const bool nextIsValue =
                i + 1 < arguments.size() && !(optional && isLongOption(arguments[i + 1]));
            return nextIsValue ? std::optional<std::string>(arguments[++i]) : std::nullopt;
        };
        if (namesOption(argument, kExportGifOption)) {
            if (haveOutput) {
                return failure(std::string(kExportGifOption) + " is given twice");
            }
            haveOutput = true;
            if (const auto value = takeValue(kExportGifOption, true)) {
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
        } else if (namesOption(argument, kWrapOption)) {
            const auto value = takeValue(kWrapOption, false);
            const auto columns = value ? positiveNumber(*value) : std::nullopt;
            if (haveWrap || !columns) {
                return failure(
                    std::string(kWrapOption) +
                    (haveWrap ? " is given twice" : " needs a number of characters above 0"));
            }
            haveWrap = true;
            request.wrapColumns = *columns;
        } else {
            return failure("unknown option '" + std::string(argument) + "'");
        }
    }

    if (haveDir && !request.output.empty()) {
        return failure("give either an output file after " + std::string(kExportGifOption) +
                       " or " + kOutputDirOption + ", not both");
    }
    if (!haveDir && request.output.empty()) {
        return failure(std::string(kExportGifOption) + " needs an output file (or " +
                       kOutputDirOption + " DIR for several files)");
    }
    if (request.files.empty()) {
        return failure("no file to export");
    }
    if (!haveDir && request.files.size() > 1) {
        return failure("several files need " + std::string(kOutputDirOption) +
                       " DIR; one output file takes one input file");
    }
    return result;
}

} // namespace tavrel
