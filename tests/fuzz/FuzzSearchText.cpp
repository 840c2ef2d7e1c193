// SearchText agrees with the plain reference search for every flag, and reads
// nothing past the NUL of either text (both sit in buffers of exactly their size).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "ReferenceSearch.h"
#include "UtilsKx.h"

namespace {

std::unique_ptr<char[]> ExactCopy(const uint8_t* data, size_t size)
{
    std::unique_ptr<char[]> copy(new char[size + 1]);
    std::memcpy(copy.get(), data, size);
    copy[size] = '\0';
    return copy;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const size_t patternLength = data[0] % 8 < size - 1 ? data[0] % 8 : size - 1;
    const auto pattern = ExactCopy(data + 1, patternLength);
    const auto text = ExactCopy(data + 1 + patternLength, size - 1 - patternLength);
    for (int flags = 0; flags < 4; ++flags) {
        const bool caseSensitive = flags & 1;
        const bool wholeWord = flags & 2;
        if (NUtilsKx::SearchText(pattern.get(), text.get(), caseSensitive, wholeWord) !=
            ReferenceSearch(pattern.get(), text.get(), caseSensitive, wholeWord))
            std::abort();
    }
    return 0;
}
