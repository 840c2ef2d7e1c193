// Any double decodes to a real calendar day inside the years 1 to 65535, or
// to year, month and day 0 exactly when it lies outside them.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "DateTime.h"
#include "UtilsKx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    double date = 0;
    if (size < sizeof date)
        return 0;
    std::memcpy(&date, data, sizeof date);
    unsigned short year = 0, month = 0, day = 0;
    DecodeDate(date, year, month, day);

    const bool inside = date >= -693593.99 && date < 23242572.99; // 1 January 1 to 31 December 65535
    const bool outside = !(date > -693594.01 && date < 23242573.01);
    if ((inside && year == 0) || (outside && year != 0))
        std::abort();
    if (year == 0 ? month != 0 || day != 0 : day < 1 || day > NUtilsKx::DaysPerMonth(year, month))
        std::abort();
    if (NUtilsKx::DaysPerMonth(date) != NUtilsKx::DaysPerMonth(year, month) * (year != 0))
        std::abort();
    return 0;
}
