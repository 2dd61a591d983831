// The pattern interpreter behind the Date/Time command. It follows QLocale's rules for the
// pattern letters so that the text matches what the desktop shows for the same locale.
#include "textcmd/date_time_format.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace tavrel {
namespace {

std::u16string number(int value, int width) {
    std::u16string digits;
    int v = std::abs(value);
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
        v /= 10;
    } while (v > 0);
    while (static_cast<int>(digits.size()) < width) {
        digits.insert(digits.begin(), u'0');
    }
    if (value < 0) {
        digits.insert(digits.begin(), u'-');
    }
    return digits;
}

std::size_t repeatCount(std::u16string_view pattern, std::size_t i) {
    std::size_t j = i + 1;
    while (j < pattern.size() && pattern[j] == pattern[i]) {
        ++j;
    }
    return j - i;
}

/// Reads quoted text starting at the opening quote at `i` and moves `i` past it. Two quotes
/// give one quote, inside or outside quoted text; an unclosed quote runs to the end.
std::u16string readQuoted(std::u16string_view pattern, std::size_t& i) {
    ++i;
    if (i < pattern.size() && pattern[i] == u'\'') {
        ++i;
        return u"'";
    }
    std::u16string text;
    while (i < pattern.size()) {
        if (pattern[i] != u'\'') {
            text.push_back(pattern[i++]);
        } else if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
            text.push_back(u'\'');
            i += 2;
        } else {
            ++i;
            break;
        }
    }
    return text;
}

/// A pattern with an AM/PM marker outside quotes shows hours 1 to 12.
bool hasAmPm(std::u16string_view pattern) {
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == u'\'') {
            readQuoted(pattern, i);
            continue;
        }
        if (pattern[i] == u'a' || pattern[i] == u'A') {
            return true;
        }
        ++i;
    }
    return false;
}

template <std::size_t N>
const std::u16string& pick(const std::array<std::u16string, N>& names, int oneBased) {
    static const std::u16string none;
    return oneBased >= 1 && oneBased <= static_cast<int>(N) ? names[oneBased - 1] : none;
}

/// Appends the text for a run of `repeat` date letters and returns how many it consumed,
/// or 0 when the letter is not a date field.
std::size_t appendDateField(std::u16string& out, char16_t c, std::size_t repeat,
                            const CalendarValues& v, const LocaleNames& names) {
    switch (c) {
    case u'y':
        if (repeat >= 4) {
            out += number(v.year, v.year < 0 ? 5 : 4);
            return 4;
        }
        if (repeat >= 2) {
            out += number(v.year % 100, 2);
            return 2;
        }
        out.push_back(c);
        return 1;
    case u'M':
    case u'd': {
        repeat = std::min<std::size_t>(repeat, 4);
        const int value = c == u'M' ? v.month : v.day;
        if (repeat <= 2) {
            out += number(value, static_cast<int>(repeat));
        } else if (c == u'M') {
            out += pick(repeat == 3 ? names.shortMonths : names.longMonths, v.month);
        } else {
            out += pick(repeat == 3 ? names.shortDays : names.longDays, v.dayOfWeek);
        }
        return repeat;
    }
    default:
        return 0;
    }
}

/// The same for time letters; `twelveHour` comes from the whole pattern.
std::size_t appendTimeField(std::u16string& out, std::u16string_view pattern, std::size_t i,
                            std::size_t repeat, bool twelveHour, const CalendarValues& v,
                            const LocaleNames& names) {
    const char16_t c = pattern[i];
    switch (c) {
    case u'h':
    case u'H':
    case u'm':
    case u's': {
        int value = c == u'm' ? v.minute : c == u's' ? v.second : v.hour;
        if (c == u'h' && twelveHour) {
            value = value > 12 ? value - 12 : value == 0 ? 12 : value;
        }
        repeat = std::min<std::size_t>(repeat, 2);
        out += number(value, static_cast<int>(repeat));
        return repeat;
    }
    case u'a':
    case u'A': {
        const bool upper = c == u'A';
        const bool am = v.hour < 12;
        out +=
            am ? (upper ? names.amUpper : names.amLower) : (upper ? names.pmUpper : names.pmLower);
        // "AP" and "ap" are one marker; a lone "A" or "a" is one too.
        const char16_t p = upper ? u'P' : u'p';
        return i + 1 < pattern.size() && pattern[i + 1] == p ? 2 : 1;
    }
    case u'z': {
        // Milliseconds read as the fraction of a second: "z" drops trailing zeros.
        std::u16string ms = number(v.millisecond, 3);
        if (repeat < 3) {
            for (int k = 0; k < 2 && ms.back() == u'0'; ++k) {
                ms.pop_back();
            }
        }
        out += ms;
        return repeat >= 3 ? 3 : 1;
    }
    case u't':
        out += names.timeZone;
        return 1;
    default:
        return 0;
    }
}

} // namespace

std::u16string formatDateTimePattern(std::u16string_view pattern, PatternFields fields,
                                     const CalendarValues& values, const LocaleNames& names) {
    const bool twelveHour = fields == PatternFields::time && hasAmPm(pattern);
    std::u16string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        if (pattern[i] == u'\'') {
            out += readQuoted(pattern, i);
            continue;
        }
        const std::size_t repeat = repeatCount(pattern, i);
        std::size_t used =
            fields == PatternFields::date
                ? appendDateField(out, pattern[i], repeat, values, names)
                : appendTimeField(out, pattern, i, repeat, twelveHour, values, names);
        if (used == 0) {
            out.append(repeat, pattern[i]);
            used = repeat;
        }
        i += used;
    }
    return out;
}

std::u16string withoutTimeZone(std::u16string_view pattern) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\u00A0' || c == u'\u202F'; };
    std::u16string out;
    bool quoted = false;
    bool droppedAtStart = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'\'') {
            quoted = !quoted; // '' inside or outside a quote toggles twice: a literal quote
            out.push_back(c);
            continue;
        }
        if (quoted || c != u't') {
            if (!(droppedAtStart && out.empty() && blank(c))) {
                out.push_back(c);
                droppedAtStart = false;
            }
            continue;
        }
        while (i + 1 < pattern.size() && pattern[i + 1] == u't') {
            ++i;
        }
        // The blanks before the zone go with it; a zone in front takes the blanks after it.
        while (!out.empty() && blank(out.back())) {
            out.pop_back();
        }
        droppedAtStart = out.empty();
    }
    return out;
}

std::u16string formatDateAndTime(std::u16string_view shortDatePattern,
                                 std::u16string_view longTimePattern, const CalendarValues& values,
                                 const LocaleNames& names) {
    std::u16string text =
        formatDateTimePattern(shortDatePattern, PatternFields::date, values, names);
    if (values.hour == 0 && values.minute == 0 && values.second == 0) {
        return text;
    }
    text.push_back(u' ');
    text += formatDateTimePattern(longTimePattern, PatternFields::time, values, names);
    return text;
}

} // namespace tavrel
