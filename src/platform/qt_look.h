// The stored colours and fonts as Qt draws them: system colours are looked up in the
// application's palette at the moment of use, as the settings store promises.
#pragma once

#include <QColor>
#include <QFont>

#include "settings/color.h"
#include "settings/font_text.h"

namespace tavrel {

[[nodiscard]] QColor toQColor(Color color);
// A size of 0 or less stands for the default 9 points.
[[nodiscard]] QFont toQFont(const FontSpec& setting);

} // namespace tavrel
