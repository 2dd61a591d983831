// The text form of colours in the settings: one of the 41 colour names, or "$" and eight
// upper-case hexadecimal digits.
#pragma once

#include "settings/color.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavrel {

// The name when the value is one of the named colours, else "$" + 8 upper-case hex digits.
[[nodiscard]] std::string colorToText(Color color);

// A colour name (letter case ignored) or an integer text ("$" hexadecimal or decimal);
// nothing when the text is neither.
[[nodiscard]] std::optional<Color> parseColorText(std::string_view text) noexcept;

} // namespace tavrel
