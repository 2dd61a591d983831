// Collects the system locale's patterns and names and the current time for the formatter.
#include "textcmd/qt/system_date_time.h"

#include "text/code_page.h"

namespace tavrel {
namespace {

std::u16string wide(const QString& s) {
    return s.toStdU16String();
}

} // namespace

LocaleNames localeNames(const QLocale& locale, const QDateTime& moment) {
    LocaleNames names;
    for (int m = 1; m <= 12; ++m) {
        names.shortMonths[m - 1] = wide(locale.monthName(m, QLocale::ShortFormat));
        names.longMonths[m - 1] = wide(locale.monthName(m, QLocale::LongFormat));
    }
    for (int d = 1; d <= 7; ++d) {
        names.shortDays[d - 1] = wide(locale.dayName(d, QLocale::ShortFormat));
        names.longDays[d - 1] = wide(locale.dayName(d, QLocale::LongFormat));
    }
    names.amUpper = wide(locale.amText().toUpper());
    names.amLower = wide(locale.amText().toLower());
    names.pmUpper = wide(locale.pmText().toUpper());
    names.pmLower = wide(locale.pmText().toLower());
    names.timeZone = wide(moment.timeZoneAbbreviation());
    return names;
}

std::u16string dateTimeText(const QLocale& locale, const QDateTime& moment) {
    const QDate date = moment.date();
    const QTime time = moment.time();
    CalendarValues values;
    values.year = date.year();
    values.month = date.month();
    values.day = date.day();
    values.dayOfWeek = date.dayOfWeek();
    values.hour = time.hour();
    values.minute = time.minute();
    values.second = time.second();
    values.millisecond = time.msec();
    return formatDateAndTime(wide(locale.dateFormat(QLocale::ShortFormat)),
                             withoutTimeZone(wide(locale.timeFormat(QLocale::LongFormat))), values,
                             localeNames(locale, moment));
}

std::string currentDateTimeText() {
    return wideToCodePage(dateTimeText(QLocale::system(), QDateTime::currentDateTime()));
}

} // namespace tavrel
