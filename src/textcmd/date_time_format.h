// Formats a date and a time with the user's regional patterns for the Date/Time command.
// The patterns use Qt's QLocale pattern language; the values and the localized names are
// inputs, so the formatting itself needs no toolkit and is tested with fixed clocks.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace tavrel {

struct CalendarValues {
    int year = 2000;
    int month = 1;     ///< 1 to 12
    int day = 1;       ///< 1 to 31
    int dayOfWeek = 1; ///< 1 = Monday ... 7 = Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

/// The localized names a pattern can ask for. Months and days are indexed from 0 (January,
/// Monday). The AM/PM texts come in both cases because "AP" and "ap" choose the case and only
/// the locale knows how its texts change case.
struct LocaleNames {
    std::array<std::u16string, 12> shortMonths;
    std::array<std::u16string, 12> longMonths;
    std::array<std::u16string, 7> shortDays;
    std::array<std::u16string, 7> longDays;
    std::u16string amUpper = u"AM";
    std::u16string amLower = u"am";
    std::u16string pmUpper = u"PM";
    std::u16string pmLower = u"pm";
    std::u16string timeZone;
};

/// Which letters a pattern interprets: a date pattern leaves time letters as they are and a
/// time pattern date letters, as QLocale does when given a date or a time alone.
enum class PatternFields { date, time };

/// Formats one pattern: d dd ddd dddd, M MM MMM MMMM, yy yyyy, h hh (12-hour when the
/// pattern has an AM/PM marker), H HH, m mm, s ss, z zzz, AP A ap a, t, and 'quoted' literal
/// text with '' for a quote. Everything else is copied. Digits are ASCII: the text ends up
/// in a Windows-1252 document, which has no other digits.
[[nodiscard]] std::u16string formatDateTimePattern(std::u16string_view pattern,
                                                   PatternFields fields,
                                                   const CalendarValues& values,
                                                   const LocaleNames& names);

/// A time pattern without its time-zone fields ("t" runs outside quotes) and the blanks that
/// joined them: the long time is hours, minutes and seconds, and a desktop's long format
/// often ends in a zone ("HH:mm:ss t" becomes "HH:mm:ss").
[[nodiscard]] std::u16string withoutTimeZone(std::u16string_view timePattern);

/// The Date/Time command's text: the short date, one space and the long time, or the date
/// alone in the first second after midnight (hours, minutes and seconds all zero).
[[nodiscard]] std::u16string formatDateAndTime(std::u16string_view shortDatePattern,
                                               std::u16string_view longTimePattern,
                                               const CalendarValues& values,
                                               const LocaleNames& names);

} // namespace tavrel
