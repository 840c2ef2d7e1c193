// The reboot-time conversion against an independent reading of the same
// rules, and a decimal round trip for every value it accepts.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Command.h"
#include "SysUtils.h"

namespace {

bool Reference(const std::string& text, int& value)
{
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return false;
    std::string rest = text.substr(i);
    std::string digits;
    int base = 10;
    if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
        digits = rest.substr(1), base = 16;
    else if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        digits = rest.substr(2), base = 16;
    if (base == 16) {
        if (digits.empty() || digits.size() > 8)
            return false;
        for (char c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                return false;
        value = static_cast<int>(static_cast<uint32_t>(std::stoul(digits, nullptr, 16)));
        return true;
    }
    const bool negative = rest[0] == '-';
    const size_t start = (rest[0] == '+' || negative) ? 1 : 0;
    if (start == rest.size())
        return false;
    for (size_t k = start; k < rest.size(); ++k)
        if (rest[k] < '0' || rest[k] > '9')
            return false;
    const size_t first = rest.find_first_not_of('0', start);
    const std::string significant = first == std::string::npos ? "0" : rest.substr(first);
    if (significant.size() > 10)
        return false;
    const long long parsed = negative ? -std::stoll(significant) : std::stoll(significant);
    if (parsed < INT32_MIN || parsed > INT32_MAX)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    int expected = 0;
    const bool valid = Reference(text, expected);
    int value = 0;
    if (TryStrToInt(text, value) != valid || (valid && value != expected))
        std::abort();
    if (RebootTimeFromText(text) != (valid ? expected : 0))
        std::abort();
    if (valid && StrToInt(IntToStr(value)) != value)
        std::abort();
    return 0;
}
