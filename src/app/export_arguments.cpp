// One pass that collects the options and file names of any export format, then the checks
// that say in a sentence what is missing or contradictory.
#include "app/export_arguments.h"

#include "app/option_words.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace tavrel {

std::optional<std::int32_t> wholeNumberIn(std::string_view text, std::int32_t low,
                                          std::int32_t high) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

namespace {

ExportParse failure(std::string& error, std::string text) {
    error = std::move(text);
    return ExportParse::Error;
}

} // namespace

ExportParse parseExportArguments(const std::vector<std::string>& arguments,
                                 const ExportCommand& command, ExportTarget& target,
                                 std::string& error) {
    const auto optionsEnd = std::find(arguments.begin(), arguments.end(), kEndOfOptions);
    if (std::none_of(arguments.begin(), optionsEnd,
                     [&](const std::string& a) { return namesOption(a, command.option); })) {
        return ExportParse::NotExport;
    }
    const std::string formatOption(command.option);
    bool haveOutput = false;
    bool haveDir = false;
    std::set<std::string_view> given; // value options, each allowed once
    bool optionsOver = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (!optionsOver && argument == kEndOfOptions) {
            optionsOver = true;
            continue;
        }
        if (optionsOver || !isLongOption(argument)) {
            target.files.emplace_back(argument);
            continue;
        }
        // The option's value: after "=", or the next argument. The format's option alone
        // before another option has none (the "--output-dir" form).
        const auto takeValue = [&](std::string_view name, bool optional) {
            if (const auto inlined = inlineValue(argument, name)) {
                return std::optional<std::string>(*inlined);
            }
            const bool nextIsValue =
                i + 1 < arguments.size() && !(optional && isLongOption(arguments[i + 1]));
            return nextIsValue ? std::optional<std::string>(arguments[++i]) : std::nullopt;
        };
        if (namesOption(argument, command.option)) {
            if (haveOutput) {
                return failure(error, formatOption + " is given twice");
            }
            haveOutput = true;
            if (const auto value = takeValue(command.option, true)) {
                target.output = *value;
            }
            continue;
        }
        if (namesOption(argument, kOutputDirOption)) {
            const auto value = takeValue(kOutputDirOption, false);
            if (haveDir || !value || value->empty()) {
                return failure(error, std::string(kOutputDirOption) +
                                          (haveDir ? " is given twice" : " needs a folder"));
            }
            haveDir = true;
            target.outputDir = *value;
            continue;
        }
        const auto option =
            std::find_if(command.options.begin(), command.options.end(), [&](const auto& o) {
                return o.needs.empty() ? argument == o.name : namesOption(argument, o.name);
            });
        if (option == command.options.end()) {
            return failure(error, "unknown option '" + std::string(argument) + "'");
        }
        if (option->needs.empty()) {
            option->apply({});
            continue;
        }
        const std::string name(option->name);
        if (given.contains(option->name)) {
            return failure(error, name + " is given twice");
        }
        given.insert(option->name);
        const auto value = takeValue(option->name, false);
        if (!value || !option->apply(*value)) {
            return failure(error, name + " " + std::string(option->needs));
        }
    }

    if (haveDir && !target.output.empty()) {
        return failure(error, "give either an output file after " + formatOption + " or " +
                                  kOutputDirOption + ", not both");
    }
    if (!haveDir && target.output.empty()) {
        return failure(error, formatOption + " needs an output file (or " + kOutputDirOption +
                                  " DIR for several files)");
    }
    if (target.files.empty()) {
        return failure(error, "no file to " + std::string(command.work));
    }
    if (!haveDir && target.files.size() > 1) {
        return failure(error, "several files need " + std::string(kOutputDirOption) +
                                  " DIR; one output file takes one input file");
    }
    return ExportParse::Export;
}

} // namespace tavrel
