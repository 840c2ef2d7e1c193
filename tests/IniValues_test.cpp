#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "IniValues.h"
#include "SysUtils.h"

namespace {

TEST(IniValues, FloatsRoundTripInTheirShortestForm)
{
    EXPECT_EQ(FloatToIniText(2.5), "2.5");
    EXPECT_EQ(FloatToIniText(-0.125), "-0.125");
    EXPECT_EQ(FloatToIniText(0.1), "0.1");
    EXPECT_EQ(FloatToIniText(1e-07), "1e-07");
    EXPECT_EQ(FloatToIniText(1e20), "1e+20");
    for (double value : {0.1, 1.0 / 3, -1e300, 5e-324, 123456789.125, 0.0}) {
        double back = 42;
        EXPECT_TRUE(TryIniTextToFloat(FloatToIniText(value), back)) << value;
        EXPECT_EQ(back, value);
    }
}

TEST(IniValues, FloatReaderTakesNothingElse)
{
    double value = 0;
    EXPECT_TRUE(TryIniTextToFloat("1E3", value));
    EXPECT_EQ(value, 1000);
    for (const char* text : {"", "2,5", " 2.5", "2.5 ", "+2.5", "inf", "-inf", "nan", "1e999", "0x10", "abc", "1.5x"}) {
        value = 7;
        EXPECT_FALSE(TryIniTextToFloat(text, value)) << text;
        EXPECT_EQ(value, 7) << text;
    }
}

struct TDateCase {
    TDateTime Value;
    const char* Date;
    const char* Time;
};

const TDateCase DateCases[] = {
    {0, "1899-12-30", "00:00:00"},
    {-1.25, "1899-12-29", "06:00:00"},
    {45351.5 + 0.25 / 86400, "2024-02-29", "12:00:00.250"},
    {2, "1900-01-01", "00:00:00"},
    {-693593, "0001-01-01", "00:00:00"},
    {2958465 + 86399.0 / 86400, "9999-12-31", "23:59:59"},
    {36585, "2000-02-29", "00:00:00"},
};

TEST(IniValues, DatesAndTimesRoundTrip)
{
    for (const TDateCase& c : DateCases) {
        const AnsiString stamp = AnsiString(c.Date) + ' ' + c.Time;
        EXPECT_EQ(DateToIniText(c.Value), c.Date);
        EXPECT_EQ(TimeToIniText(c.Value), c.Time) << c.Date;
        EXPECT_EQ(DateTimeToIniText(c.Value), stamp);
        TDateTime back = 0;
        EXPECT_TRUE(TryIniTextToDateTime(stamp, back)) << stamp;
        EXPECT_NEAR(back, c.Value, 1e-9) << stamp;
        EXPECT_TRUE(TryIniTextToDate(c.Date, back));
        EXPECT_EQ(back, std::trunc(c.Value)) << c.Date;
        EXPECT_TRUE(TryIniTextToTime(c.Time, back));
        EXPECT_NEAR(back, std::fabs(c.Value - std::trunc(c.Value)), 1e-9) << c.Time;
    }
}

TEST(IniValues, TimeRoundedToTheMillisecondCarriesIntoTheNextDay)
{
    EXPECT_EQ(DateTimeToIniText(0.9999999999), "1899-12-31 00:00:00");
    EXPECT_EQ(DateTimeToIniText(-1.9999999999), "1899-12-30 00:00:00");
}

TEST(IniValues, DateAndTimeReadersTakeNothingElse)
{
    TDateTime value = 7;
    for (const char* text : {"2024-2-29", "2023-02-29", "2024-13-01", "2024-00-10", "0000-01-01", "2024-02-29 ",
                             " 2024-02-29", "24-02-29", "2024/02/29"})
        EXPECT_FALSE(TryIniTextToDate(text, value)) << text;
    for (const char* text : {"24:00:00", "12:60:00", "12:00:60", "12:00", "12:00:00.5", "12:00:00.1234", "6:00:00",
                             "12:00:00 "})
        EXPECT_FALSE(TryIniTextToTime(text, value)) << text;
    for (const char* text : {"2024-02-29T06:00:00", "2024-02-29  06:00:00", "2024-02-29 ", "06:00:00"})
        EXPECT_FALSE(TryIniTextToDateTime(text, value)) << text;
    EXPECT_EQ(value, 7);
}

TEST(IniValues, DateOutsideTheYearsOneTo9999IsNoText)
{
    EXPECT_THROW(DateToIniText(2958466), EConvertError);
    EXPECT_THROW(DateTimeToIniText(-693594), EConvertError);
    EXPECT_THROW(TimeToIniText(std::numeric_limits<double>::quiet_NaN()), EConvertError);
    EXPECT_THROW(DateToIniText(1e300), EConvertError);
}

} // namespace
