// Splitting a command line: never out of bounds, and arguments are never
// empty, never hold a double quote, and never hold more characters than the
// line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ProcessArgs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const TArgumentList list = SplitCommandLine("prog", line.c_str());
    size_t characters = 0;
    for (const AnsiString& argument : list.Arguments) {
        if (argument.empty() || argument.find('"') != AnsiString::npos || argument.find('\0') != AnsiString::npos)
            std::abort();
        characters += argument.size();
    }
    if (characters > size || list[list.Count() + 1] != "")
        std::abort();
    return 0;
}
