// The words of the export command lines, shared by the GIF and the PDF export: "--" ending
// the options, long options with their value after "=" or in the next argument.
#pragma once

#include <optional>
#include <string_view>

namespace tavrel {

inline constexpr std::string_view kEndOfOptions = "--";

[[nodiscard]] inline bool isLongOption(std::string_view argument) {
    return argument.size() > 2 && argument.starts_with("--");
}

// "--name" or "--name=value": the value after "=" when given that way.
[[nodiscard]] inline std::optional<std::string_view> inlineValue(std::string_view argument,
                                                                 std::string_view name) {
    if (argument.size() > name.size() && argument.starts_with(name) &&
        argument[name.size()] == '=') {
        return argument.substr(name.size() + 1);
    }
    return std::nullopt;
}

[[nodiscard]] inline bool namesOption(std::string_view argument, std::string_view name) {
    return argument == name || inlineValue(argument, name).has_value();
}

} // namespace tavrel
