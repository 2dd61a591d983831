// The Qt adapter of the Date/Time command, checked against QLocale's own formatting of the
// same moment in many locales: the toolkit-free formatter must read the patterns as Qt does.
#include "textcmd/qt/system_date_time.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

namespace tavrel {
namespace {

const char* const localesToCompare[] = {"en_US", "en_GB", "de_DE", "de_AT", "fr_FR", "fr_CA",
                                        "es_ES", "it_IT", "nl_NL", "pl_PL", "pt_BR", "sv_SE",
                                        "fi_FI", "ru_RU", "el_GR", "tr_TR", "ja_JP", "ko_KR",
                                        "zh_CN", "zh_TW", "hu_HU", "cs_CZ", "da_DK", "en_AU"};

TEST(SystemDateTime, matchesQtForTheLocaleFormats) {
    for (const QTime time : {QTime(13, 5, 7, 250), QTime(0, 30, 0), QTime(9, 0, 0)}) {
        const QDateTime moment(QDate(2024, 3, 5), time);
        for (const char* name : localesToCompare) {
            const QLocale locale(QString::fromLatin1(name));
            // Qt's long time, with the zone it appends cut out of the text again: the
            // command writes hours, minutes and seconds only.
            QString longTime = locale.toString(moment, locale.timeFormat(QLocale::LongFormat));
            const QString zone = moment.timeZoneAbbreviation();
            ASSERT_FALSE(zone.isEmpty());
            longTime.replace(zone, QString());
            longTime = longTime.trimmed();
            const QString expected =
                locale.toString(moment.date(), QLocale::ShortFormat) + u' ' + longTime;
            const QString text = QString::fromStdU16String(dateTimeText(locale, moment));
            EXPECT_EQ(text, expected) << name;
            EXPECT_FALSE(text.contains(zone)) << name;
        }
    }
}

TEST(SystemDateTime, matchesQtForEveryPatternLetter) {
    const QDateTime moment(QDate(2031, 11, 9), QTime(0, 4, 9, 30));
    const QLocale locale(QStringLiteral("de_DE"));
    const LocaleNames names = localeNames(locale, moment);
    CalendarValues v{2031, 11, 9, moment.date().dayOfWeek(), 0, 4, 9, 30};
    for (const char* pattern : {"d dd ddd dddd", "M MM MMM MMMM", "yy yyyy yyy", "'d''M' '' x"}) {
        const QString p = QString::fromLatin1(pattern);
        EXPECT_EQ(QString::fromStdU16String(
                      formatDateTimePattern(p.toStdU16String(), PatternFields::date, v, names)),
                  locale.toString(moment.date(), p))
            << pattern;
    }
    for (const char* pattern :
         {"h hh H HH", "m mm s ss", "h:mm AP", "hh ap A a", "z zzz", "'h' 'AP' h", "t"}) {
        const QString p = QString::fromLatin1(pattern);
        EXPECT_EQ(QString::fromStdU16String(
                      formatDateTimePattern(p.toStdU16String(), PatternFields::time, v, names)),
                  locale.toString(moment, p))
            << pattern;
    }
}

} // namespace
} // namespace tavrel
