#include <gtest/gtest.h>

#include <limits>

#include "DateTime.h"
#include "UtilsKx.h"

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Infinity = std::numeric_limits<double>::infinity();
// A little less and a little more than half a millisecond, in days.
constexpr double Under = 0.4 / 86400000;
constexpr double Over = 0.6 / 86400000;

struct TDecodeCase {
    double Date;
    unsigned short Year, Month, Day;
};

const TDecodeCase DecodeCases[] = {
    {0, 1899, 12, 30},
    {1, 1899, 12, 31},
    {2, 1900, 1, 1},
    {61, 1900, 3, 1}, // 1900 is no leap year
    {25569, 1970, 1, 1},
    {36526, 2000, 1, 1},
    {45351, 2024, 2, 29},
    {45351.999, 2024, 2, 29},
    {45352 - Over, 2024, 2, 29}, // 23:59:59.999
    {45352 - Under, 2024, 3, 1}, // rounds to midnight
    {-29.5, 1899, 12, 1},        // whole days toward zero, not down
    {-0.75, 1899, 12, 30},
    {-1, 1899, 12, 29},
    {-1 + Over, 1899, 12, 30},
    {-1 + Under, 1899, 12, 29},
    {-693593, 1, 1, 1},
    {-693593.75, 1, 1, 1},
    {-693594, 0, 0, 0}, // 31 December of year 0
    {2958465, 9999, 12, 31},
    {23242572.999, 65535, 12, 31},
    {23242573, 0, 0, 0},
    {-1e300, 0, 0, 0},
    {1e300, 0, 0, 0},
    {Nan, 0, 0, 0},
    {Infinity, 0, 0, 0},
    {-Infinity, 0, 0, 0},
};

TEST(DecodeDate, KnownDaysRoundingAndRange)
{
    for (const TDecodeCase& c : DecodeCases) {
        unsigned short year = 1, month = 1, day = 1;
        DecodeDate(c.Date, year, month, day);
        EXPECT_EQ(year, c.Year) << c.Date;
        EXPECT_EQ(month, c.Month) << c.Date;
        EXPECT_EQ(day, c.Day) << c.Date;
    }
}

// Counts day by day with the month-length table from 1 January of
// `firstYear` to the end of `lastYear`: the decoding must agree on every day.
void ExpectDayByDay(int firstYear, int lastYear)
{
    const long long before = firstYear - 1;
    int date = static_cast<int>(before * 365 + before / 4 - before / 100 + before / 400 + 1 - 693594);
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= NUtilsKx::DaysPerMonth(year, month); ++day, ++date) {
                unsigned short y = 0, m = 0, d = 0;
                // Noon: a negative value's fraction counts away from zero.
                DecodeDate(date < 0 ? date - 0.5 : date + 0.5, y, m, d);
                ASSERT_TRUE(y == year && m == month && d == day) << date << " gave " << y << '-' << m << '-' << d
                                                                 << " for " << year << '-' << month << '-' << day;
            }
        }
    }
}

TEST(DecodeDate, AgreesWithTheMonthTableOnEveryDay)
{
    ExpectDayByDay(1, 2500);
    ExpectDayByDay(65000, 65535);
}

struct TMonthCase {
    int Year, Month, Days;
};

const TMonthCase MonthCases[] = {
    {2000, 2, 29},  {1900, 2, 28},  {2004, 2, 29},  {2023, 2, 28},         {2023, 4, 30}, {2023, 12, 31},
    {2023, 1, 31},  {2100, 2, 28},  {2400, 2, 29},  {0, 2, 29},            {65535, 2, 28},
    {65536 + 2023, 2, 28}, // only the low 16 bits count
    {2024, 0, 0},   {2024, 13, 0},  {2024, -1, 0},  {2024, 1 << 30, 0},
};

TEST(DaysPerMonth, YearAndMonth)
{
    for (const TMonthCase& c : MonthCases)
        EXPECT_EQ(NUtilsKx::DaysPerMonth(c.Year, c.Month), c.Days) << c.Year << '-' << c.Month;
}

TEST(DaysPerMonth, DateAtAnyTimeOfDay)
{
    for (double date = 45323; date < 45352; date += 1.0 / 16)
        EXPECT_EQ(NUtilsKx::DaysPerMonth(date), 29) << date; // February 2024
    const double cases[][2] = {
        {45323 - Over, 31}, // 31 January 2024, 23:59:59.999
        {45323 - Under, 29}, // rounds to 1 February
        {2958465, 31},
        {-693594, 0}, // before 1 January of year 1
        {Nan, 0},
        {Infinity, 0},
        {-Infinity, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NUtilsKx::DaysPerMonth(c[0]), c[1]) << c[0];
}

} // namespace
