#include "DateTime.h"

#include <cmath>

namespace {

constexpr long long MSecsPerDay = 86400000;
// Day numbers counted from 1 January of year 1 (= 1).
constexpr long long DayOfTheEpoch = 693594; // 30 December 1899
constexpr long long LastDay = 23936166;      // 31 December 65535

} // namespace

void DecodeDate(TDateTime date, unsigned short& year, unsigned short& month, unsigned short& day)
{
    year = month = day = 0;
    // Beyond this the day lies outside the years 1 to 65535 in any case, and
    // the milliseconds would not fit an integer.
    if (!std::isfinite(date) || std::fabs(date) > 1e9)
        return;
    const long long days = std::llround(date * MSecsPerDay) / MSecsPerDay;
    const long long dayNumber = days + DayOfTheEpoch;
    if (dayNumber < 1 || dayNumber > LastDay)
        return;

    // Count from 1 March of year 0, so that the leap day ends each year and
    // every 400-year era has the same shape.
    const long long sinceMarch = dayNumber + 305;
    const long long era = sinceMarch / 146097;
    const long long dayOfEra = sinceMarch % 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
    const long long monthNumber = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = static_cast<unsigned short>(era * 400 + yearOfEra + (monthNumber <= 2 ? 1 : 0));
    month = static_cast<unsigned short>(monthNumber);
    day = static_cast<unsigned short>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
}
