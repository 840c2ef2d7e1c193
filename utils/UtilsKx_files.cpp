// Text lines from C streams, the temporary directory's query and month lengths.
#include <cstring>
#include <vector>

#include "ConstKx.h"
#include "SysUtils.h"
#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

bool ReadString(std::FILE* stream, AnsiString& line)
{
    char buffer[1024];
    if (stream == nullptr || std::fgets(buffer, sizeof buffer, stream) == nullptr || buffer[0] == '\0') {
        line.clear();
        return false;
    }
    size_t length = std::strlen(buffer);
    if (buffer[length - 1] == '\n')
        --length;
    line.assign(buffer, length);
    return true;
}

AnsiString QueryTempPath(const TTempPathQuery& query)
{
    unsigned needed = query(0, nullptr);
    // The directory may change between the calls. A longer path leaves the
    // buffer unwritten and answers the size it needs now: ask again with that.
    for (int attempt = 0; attempt < 3 && needed != 0; ++attempt) {
        std::vector<char> buffer(needed);
        const unsigned length = query(needed, buffer.data());
        if (length == 0)
            break;
        if (length < needed) {
            AnsiString path(buffer.data(), strnlen(buffer.data(), length));
            AddPathDelimiter(path);
            return path;
        }
        needed = length;
    }
    throw Exception(LoadResString(SErrorTempDir));
}

namespace {

// The Gregorian rule on the year's low 16 bits; year 0 is a leap year.
bool IsLeapYear(int year)
{
    const auto y = static_cast<unsigned short>(year);
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

} // namespace

int DaysPerMonth(int year, int month)
{
    static const unsigned short MonthDays[2][12] = {
        {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
        {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    };
    if (month < 1 || month > 12)
        return 0;
    return MonthDays[IsLeapYear(year) ? 1 : 0][month - 1];
}

int DaysPerMonth(const TDateTime& date)
{
    unsigned short year = 0;
    unsigned short month = 0;
    unsigned short day = 0;
    DecodeDate(date, year, month, day);
    return DaysPerMonth(year, month);
}

} // namespace NUtilsKx
