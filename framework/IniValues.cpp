#include "IniValues.h"

#include <charconv>
#include <cmath>

#include "Consts.h"
#include "SysUtils.h"

AnsiString FloatToIniText(double value)
{
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return AnsiString(buffer, result.ptr);
}

bool TryIniTextToFloat(const AnsiString& text, double& value)
{
    const char* const end = text.data() + text.size();
    double parsed = 0;
    const std::from_chars_result result = std::from_chars(text.data(), end, parsed);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

namespace {

constexpr long long MillisecondsPerDay = 86400000;

// Days since 1 March of year 0 of the proleptic Gregorian calendar, shifted
// so that 1 January 1970 is day 0.
constexpr long long DaysFromCivil(long long year, long long month, long long day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr long long EpochDay = DaysFromCivil(1899, 12, 30);
constexpr long long FirstDay = DaysFromCivil(1, 1, 1) - EpochDay;
constexpr long long LastDay = DaysFromCivil(9999, 12, 31) - EpochDay;

struct TCivilDate {
    long long Year, Month, Day;
};

TCivilDate CivilFromDays(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const long long month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {yearOfEra + era * 400 + (month <= 2), month, day};
}

long long DaysInMonth(long long year, long long month)
{
    return DaysFromCivil(month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1) -
           DaysFromCivil(year, month, 1);
}

struct TDayAndTime {
    long long Days;         // since 30 December 1899
    long long Milliseconds; // of the day
};

TDayAndTime Split(TDateTime value)
{
    const double whole = std::trunc(value);
    if (!std::isfinite(value) || whole < FirstDay || whole > LastDay)
        throw EConvertError(Format(SInvalidDate, value));
    TDayAndTime split{static_cast<long long>(whole), std::llround(std::fabs(value - whole) * MillisecondsPerDay)};
    // Rounded up to midnight: the next calendar day, whatever the sign.
    if (split.Milliseconds == MillisecondsPerDay) {
        split.Milliseconds = 0;
        ++split.Days;
    }
    return split;
}

TDateTime Combine(long long days, long long milliseconds)
{
    const double fraction = static_cast<double>(milliseconds) / MillisecondsPerDay;
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

AnsiString DateText(long long days)
{
    const TCivilDate date = CivilFromDays(days + EpochDay);
    return Format("%04lld-%02lld-%02lld", date.Year, date.Month, date.Day);
}

AnsiString TimeText(long long milliseconds)
{
    const long long seconds = milliseconds / 1000;
    AnsiString text = Format("%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    if (milliseconds % 1000 != 0)
        text += Format(".%03lld", milliseconds % 1000);
    return text;
}

// Reads exactly `count` decimal digits.
bool ReadDigits(const char*& p, const char* end, int count, long long& value)
{
    if (end - p < count)
        return false;
    value = 0;
    for (int i = 0; i < count; ++i, ++p) {
        if (*p < '0' || *p > '9')
            return false;
        value = value * 10 + (*p - '0');
    }
    return true;
}

bool ReadMark(const char*& p, const char* end, char mark)
{
    if (p == end || *p != mark)
        return false;
    ++p;
    return true;
}

bool ReadDate(const char*& p, const char* end, long long& days)
{
    long long year = 0, month = 0, day = 0;
    if (!ReadDigits(p, end, 4, year) || !ReadMark(p, end, '-') || !ReadDigits(p, end, 2, month) ||
        !ReadMark(p, end, '-') || !ReadDigits(p, end, 2, day))
        return false;
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    days = DaysFromCivil(year, month, day) - EpochDay;
    return true;
}

bool ReadTime(const char*& p, const char* end, long long& milliseconds)
{
    long long hour = 0, minute = 0, second = 0, fraction = 0;
    if (!ReadDigits(p, end, 2, hour) || !ReadMark(p, end, ':') || !ReadDigits(p, end, 2, minute) ||
        !ReadMark(p, end, ':') || !ReadDigits(p, end, 2, second))
        return false;
    if (p != end && (!ReadMark(p, end, '.') || !ReadDigits(p, end, 3, fraction)))
        return false;
    if (p != end || hour > 23 || minute > 59 || second > 59)
        return false;
    milliseconds = ((hour * 60 + minute) * 60 + second) * 1000 + fraction;
    return true;
}

} // namespace

AnsiString DateToIniText(TDateTime value)
{
    return DateText(Split(value).Days);
}

AnsiString TimeToIniText(TDateTime value)
{
    return TimeText(Split(value).Milliseconds);
}

AnsiString DateTimeToIniText(TDateTime value)
{
    const TDayAndTime split = Split(value);
    return DateText(split.Days) + ' ' + TimeText(split.Milliseconds);
}

bool TryIniTextToDate(const AnsiString& text, TDateTime& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    long long days = 0;
    if (!ReadDate(p, end, days) || p != end)
        return false;
    value = static_cast<double>(days);
    return true;
}

bool TryIniTextToTime(const AnsiString& text, TDateTime& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    long long milliseconds = 0;
    if (!ReadTime(p, end, milliseconds))
        return false;
    value = Combine(0, milliseconds);
    return true;
}

bool TryIniTextToDateTime(const AnsiString& text, TDateTime& value)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    long long days = 0, milliseconds = 0;
    if (!ReadDate(p, end, days))
        return false;
    if (p != end && (!ReadMark(p, end, ' ') || !ReadTime(p, end, milliseconds)))
        return false;
    value = Combine(days, milliseconds);
    return true;
}
