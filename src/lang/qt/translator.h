// Puts the loaded language's texts on Qt widgets, actions and menus. Each translatable
// object carries its text number in the dynamic property "tag".
#pragma once

#include "lang/language_strings.h"

#include <QString>

#include <string_view>

class QObject;

namespace tavrel {

/// The dynamic property that holds an object's text number (0 or missing: not translated).
inline constexpr const char* translationTagProperty = "tag";

/// Windows-1252 bytes as a QString.
[[nodiscard]] QString fromCodePage(std::string_view bytes);

/// Language text `number` for Qt, or `defaultText` when the file has no non-empty text.
[[nodiscard]] QString langText(const LanguageStrings& strings, int number,
                               const QString& defaultText = {});

/// Translates a window and everything below it. A window with a tag gets its title even when
/// the text is empty; labels, buttons, actions and menus with a tag get their text only when
/// it is not empty, so they keep their built-in text otherwise. Other kinds are left alone.
void translateComponent(QObject* component, const LanguageStrings& strings);

} // namespace tavrel
