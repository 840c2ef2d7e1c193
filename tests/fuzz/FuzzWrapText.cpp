// WrapText with a single space as the break text gives the text back unchanged;
// with a line feed it only turns some spaces into line feeds. The argument is
// never changed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "UtilsKx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int maxCol = static_cast<int8_t>(data[0]);
    const std::string original(reinterpret_cast<const char*>(data) + 1, size - 1);
    AnsiString text = original;

    if (NUtilsKx::WrapText(text, maxCol, " ") != original)
        std::abort();
    const AnsiString wrapped = NUtilsKx::WrapText(text, maxCol, "\n");
    if (wrapped.size() != original.size() || text != original)
        std::abort();
    for (size_t i = 0; i < original.size(); ++i)
        if (wrapped[i] != original[i] && !(original[i] == ' ' && wrapped[i] == '\n'))
            std::abort();
    return 0;
}
