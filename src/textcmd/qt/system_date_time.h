// The Date/Time command's text for the current moment in the desktop's regional format:
// the Qt side of the toolkit-free formatter.
#pragma once

#include "textcmd/date_time_format.h"

#include <QDateTime>
#include <QLocale>

#include <string>

namespace tavrel {

/// The month and day names and AM/PM texts of a locale, as the formatter takes them.
[[nodiscard]] LocaleNames localeNames(const QLocale& locale, const QDateTime& moment);

/// The text for `moment` with the locale's short date and long time formats.
[[nodiscard]] std::u16string dateTimeText(const QLocale& locale, const QDateTime& moment);

/// The text the Date/Time command writes: now, in the system locale, in Windows-1252.
[[nodiscard]] std::string currentDateTimeText();

} // namespace tavrel
