// The Date/Time command's pattern formatter with a fixed clock and English names.
#include "textcmd/date_time_format.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrel {
namespace {

LocaleNames englishNames() {
    LocaleNames n;
    n.shortMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                     u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
    n.longMonths = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                    u"July",    u"August",   u"September", u"October", u"November", u"December"};
    n.shortDays = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    n.longDays = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                  u"Friday", u"Saturday", u"Sunday"};
    n.timeZone = u"CET";
    return n;
}

// Tuesday, 5 March 2024, 13:05:07.250
CalendarValues afternoon() {
    CalendarValues v;
    v.year = 2024;
    v.month = 3;
    v.day = 5;
    v.dayOfWeek = 2;
    v.hour = 13;
    v.minute = 5;
    v.second = 7;
    v.millisecond = 250;
    return v;
}

struct PatternCase {
    std::u16string pattern;
    PatternFields fields;
    std::u16string expected;
};

TEST(DateTimeFormat, interpretsThePatternLetters) {
    const PatternCase cases[] = {
        {u"dd.MM.yyyy", PatternFields::date, u"05.03.2024"},
        {u"d/M/yy", PatternFields::date, u"5/3/24"},
        {u"dddd, MMMM d, yyyy", PatternFields::date, u"Tuesday, March 5, 2024"},
        {u"ddd MMM", PatternFields::date, u"Tue Mar"},
        {u"ddddd", PatternFields::date, u"Tuesday5"},
        {u"yyy y", PatternFields::date, u"24y y"},
        {u"yyyyyy", PatternFields::date, u"202424"},
        {u"'Heute:' d", PatternFields::date, u"Heute: 5"},
        {u"d 'o''clock'", PatternFields::date, u"5 o'clock"},
        {u"''d''", PatternFields::date, u"'5'"},
        {u"d 'open", PatternFields::date, u"5 open"},
        // Time letters in a date pattern, and date letters in a time pattern, are text.
        {u"d h", PatternFields::date, u"5 h"},
        {u"HH:mm d", PatternFields::time, u"13:05 d"},
        {u"HH:mm:ss", PatternFields::time, u"13:05:07"},
        {u"H:m:s", PatternFields::time, u"13:5:7"},
        {u"hh:mm:ss", PatternFields::time, u"13:05:07"},
        {u"h:mm:ss AP", PatternFields::time, u"1:05:07 PM"},
        {u"h:mm ap", PatternFields::time, u"1:05 pm"},
        {u"h:mm A", PatternFields::time, u"1:05 PM"},
        {u"HH:mm AP", PatternFields::time, u"13:05 PM"},
        // An AP inside quotes does not make the clock 12-hour.
        {u"h 'AP'", PatternFields::time, u"13 AP"},
        {u"HH:mm:ss t", PatternFields::time, u"13:05:07 CET"},
        {u"ss.zzz ss.z", PatternFields::time, u"07.250 07.25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatDateTimePattern(c.pattern, c.fields, afternoon(), englishNames()),
                  c.expected);
    }
}

TEST(DateTimeFormat, twelveHourClockAroundMidnightAndNoon) {
    CalendarValues v = afternoon();
    const LocaleNames names = englishNames();
    v.hour = 0;
    EXPECT_EQ(formatDateTimePattern(u"h AP", PatternFields::time, v, names), u"12 AM");
    v.hour = 12;
    EXPECT_EQ(formatDateTimePattern(u"h AP", PatternFields::time, v, names), u"12 PM");
    v.hour = 11;
    EXPECT_EQ(formatDateTimePattern(u"hh ap", PatternFields::time, v, names), u"11 am");
}

TEST(DateTimeFormat, dateAloneInTheFirstSecondAfterMidnight) {
    CalendarValues v = afternoon();
    const LocaleNames names = englishNames();
    EXPECT_EQ(formatDateAndTime(u"dd.MM.yyyy", u"HH:mm:ss", v, names), u"05.03.2024 13:05:07");
    v.hour = 0;
    v.minute = 0;
    v.second = 0;
    v.millisecond = 999;
    EXPECT_EQ(formatDateAndTime(u"dd.MM.yyyy", u"HH:mm:ss", v, names), u"05.03.2024");
    v.second = 1;
    EXPECT_EQ(formatDateAndTime(u"dd.MM.yyyy", u"HH:mm:ss", v, names), u"05.03.2024 00:00:01");
}

TEST(DateTimeFormat, theLongTimeLeavesOutTheTimeZone) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"HH:mm:ss t", u"HH:mm:ss"},
        {u"h:mm:ss AP t", u"h:mm:ss AP"},
        {u"t HH:mm:ss", u"HH:mm:ss"},
        {u"HH:mm:ss tttt", u"HH:mm:ss"},
        {u"H 'h' mm 'min' ss 's' t", u"H 'h' mm 'min' ss 's'"},
        {u"HH:mm:ss 'at' t", u"HH:mm:ss 'at'"}, // the t inside quotes is text
        {u"HH:mm:ss\u00A0t", u"HH:mm:ss"},
        {u"HH:mm:ss", u"HH:mm:ss"},
    };
    for (const auto& [pattern, expected] : cases) {
        EXPECT_EQ(withoutTimeZone(pattern), expected);
    }
    const LocaleNames names = englishNames();
    EXPECT_EQ(formatDateAndTime(u"d MMM yyyy", withoutTimeZone(u"HH:mm:ss t"), afternoon(), names),
              u"5 Mar 2024 13:05:07");
}

} // namespace
} // namespace tavrel
