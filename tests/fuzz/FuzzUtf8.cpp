// UTF-8 to code page 1252: never longer than the input, and what comes out
// converts to well-formed UTF-8 and back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const AnsiString ansi = Utf8ToAnsi(input);
    if (ansi.size() > input.size())
        std::abort();
    if (Utf8ToAnsi(AnsiToUtf8(ansi)) != ansi)
        std::abort();
    if (AnsiToUtf8(input).size() < input.size())
        std::abort();
    return 0;
}
