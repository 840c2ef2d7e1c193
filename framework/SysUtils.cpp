#include "SysUtils.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "Consts.h"

AnsiString Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    AnsiString result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool ParseHex(const char* p, const char* end, int& value)
{
    if (p == end || end - p > 8)
        return false;
    uint32_t pattern = 0;
    for (; p != end; ++p) {
        const int digit = HexDigitValue(*p);
        if (digit < 0)
            return false;
        pattern = (pattern << 4) | static_cast<uint32_t>(digit);
    }
    value = static_cast<int>(pattern);
    return true;
}

bool ParseDecimal(const char* p, const char* end, int& value)
{
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end)
        return false;
    const int64_t limit = negative ? INT64_C(2147483648) : INT64_C(2147483647);
    int64_t magnitude = 0;
    for (; p != end; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit)
            return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

} // namespace

bool TryStrToInt(const AnsiString& text, int& value) noexcept
{
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p != end && *p == ' ')
        ++p;
    if (p != end && (*p == '$' || *p == 'x' || *p == 'X'))
        return ParseHex(p + 1, end, value);
    if (end - p >= 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return ParseHex(p + 2, end, value);
    return ParseDecimal(p, end, value);
}

int StrToInt(const AnsiString& text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(Format(SInvalidInteger, text.c_str()));
    return value;
}

int StrToIntDef(const AnsiString& text, int defaultValue) noexcept
{
    int value = 0;
    return TryStrToInt(text, value) ? value : defaultValue;
}

AnsiString IntToStr(long long value)
{
    return std::to_string(value);
}

AnsiString UIntToStr(unsigned long long value)
{
    return std::to_string(value);
}

AnsiString ErrorDetail(const std::exception& error)
{
    const auto* exception = dynamic_cast<const Exception*>(&error);
    if (exception == nullptr || exception->ErrorCode() == 0)
        return AnsiString();
    return Format("error %lu: %s", exception->ErrorCode(), SysErrorMessage(exception->ErrorCode()).c_str());
}

AnsiString ErrorBoxText(const AnsiString& message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

