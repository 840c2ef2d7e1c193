// ValidateFileName: the position is that of the first forbidden character, the
// replace count is how many there are, each of them (and nothing else) becomes
// "-", and the result has none left.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "UtilsKx.h"

namespace {

bool IsForbidden(unsigned char c)
{
    static const std::string others = "\"*/:<>?\\|\x80\x81\x8D\x8E\x8F\x90\x9D\x9E";
    return (c >= 1 && c <= 31) || others.find(static_cast<char>(c)) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string original(reinterpret_cast<const char*>(data), size);
    int first = -1;
    int count = 0;
    for (size_t i = 0; i < size; ++i)
        if (IsForbidden(data[i])) {
            if (first < 0)
                first = static_cast<int>(i);
            ++count;
        }

    AnsiString name = original;
    if (NUtilsKx::ValidateFileName(name, false) != first || name != original)
        std::abort();
    if (NUtilsKx::ValidateFileName(name, true) != count || name.size() != size)
        std::abort();
    for (size_t i = 0; i < size; ++i)
        if (name[i] != (IsForbidden(data[i]) ? '-' : original[i]))
            std::abort();
    if (NUtilsKx::ValidateFileName(name, false) != -1)
        std::abort();
    return 0;
}
