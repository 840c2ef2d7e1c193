#include <gtest/gtest.h>

#include <climits>

#include "RebootCountdown.h"

namespace {

TEST(RebootSecondsLeft, CountsWholeSecondsFromTheStart)
{
    const uint32_t start = 5000;
    EXPECT_EQ(RebootSecondsLeft(60, start, start), 60);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 999), 60);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 1000), 59);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 30000), 30);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 59999), 1);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 60000), 0);
    EXPECT_EQ(RebootSecondsLeft(60, start, start + 3600000), -3540);
}

TEST(RebootSecondsLeft, StaysRightAcrossTheWrapOfTheTickCount)
{
    const uint32_t start = UINT32_MAX - 999; // one second before the wrap
    EXPECT_EQ(RebootSecondsLeft(60, start, start), 60);
    EXPECT_EQ(RebootSecondsLeft(60, start, 1000), 58);
    EXPECT_EQ(RebootSecondsLeft(60, 0, 0), 60);
    // The largest difference the tick count can show.
    EXPECT_EQ(RebootSecondsLeft(0, 1, 0), -4294967);
}

TEST(RebootSecondsLeft, ExtremeTimesNeverOverflow)
{
    EXPECT_EQ(RebootSecondsLeft(INT_MAX, 0, 0), INT_MAX);
    EXPECT_EQ(RebootSecondsLeft(INT_MAX, 0, 1500), INT_MAX - 1LL);
    EXPECT_EQ(RebootSecondsLeft(INT_MIN, 0, UINT32_MAX), INT_MIN - 4294967LL);
    EXPECT_LT(RebootSecondsLeft(-5, 0, 0), 0);
}

} // namespace
