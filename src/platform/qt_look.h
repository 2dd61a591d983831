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

// The reverse, for what the colour and font dialogs chose. Qt's fonts have no colour: the
// result's colour is 0 for the caller to fill.
[[nodiscard]] Color fromQColor(const QColor& color);
[[nodiscard]] FontSpec fromQFont(const QFont& font);

} // namespace tavrel
