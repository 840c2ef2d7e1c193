// ConvertFromHex: bytes written as hexadecimal come back unchanged; any text
// stores exactly the pairs in front of the first bad one, never more than the
// buffer holds, and raises the stated exception class for a bad pair or an
// unpaired last character.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "SysUtils.h"
#include "UtilsKx.h"

namespace {

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

void CheckRoundTrip(const uint8_t* data, size_t size)
{
    const int count = static_cast<int>(size);
    const AnsiString hex = NUtilsKx::ConvertToHex(reinterpret_cast<const char*>(data), count);
    if (hex.size() != 2 * size)
        std::abort();
    std::vector<char> back(size);
    if (NUtilsKx::ConvertFromHex(hex, back.data(), count) != count ||
        (size > 0 && std::memcmp(back.data(), data, size) != 0))
        std::abort();
}

// What the conversion must do with `text` and a buffer of `capacity` bytes:
// the number of bytes stored, and 0 (none), 1 (unpaired) or 2 (bad pair).
struct TExpected {
    size_t Stored = 0;
    int Failure = 0;
};

TExpected Expect(const std::string& text, size_t capacity)
{
    TExpected expected;
    for (size_t i = 0; expected.Stored < capacity && i < text.size(); i += 2, ++expected.Stored) {
        if (i + 1 == text.size()) {
            expected.Failure = 1;
            break;
        }
        if (!IsHexDigit(text[i]) || !IsHexDigit(text[i + 1])) {
            expected.Failure = 2;
            break;
        }
    }
    return expected;
}

void CheckAnyText(const uint8_t* data, size_t size)
{
    const size_t capacity = data[0] % 16;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const TExpected expected = Expect(text, capacity);
    std::vector<char> buffer(capacity);
    int failure = 0;
    size_t stored = 0;
    AnsiString message;
    try {
        stored = static_cast<size_t>(NUtilsKx::ConvertFromHex(text, buffer.data(), static_cast<int>(capacity)));
    } catch (const EConvertError& error) {
        failure = 2;
        message = error.Message;
    } catch (const Exception& error) {
        failure = 1;
        message = error.Message;
    }
    if (failure != expected.Failure || (failure == 0 && stored != expected.Stored))
        std::abort();
    if (failure == 1 && message != "Ungültiger Hexstring")
        std::abort();
    // The message quotes the text up to a NUL, as C texts end there.
    const std::string quoted = "0X" + text.substr(2 * expected.Stored, 2);
    if (failure == 2 && message != "'" + quoted.substr(0, quoted.find('\0')) + "' ist kein gültiger Integerwert")
        std::abort();
    for (size_t k = 0; k < expected.Stored; ++k)
        if (static_cast<char>(std::stoi(text.substr(2 * k, 2), nullptr, 16)) != buffer[k])
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckRoundTrip(data, size);
    if (size > 0)
        CheckAnyText(data, size);
    return 0;
}
