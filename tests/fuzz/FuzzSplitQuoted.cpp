// SplitQuoted: without a quote character a non-empty text gives one field more
// than it holds separators, and the fields joined again give the text back;
// with one, no field holds the quote character.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "UtilsKxInternal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const char separator = static_cast<char>(data[0]);
    const char quote = static_cast<char>(data[1]);
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const char* const cText = text.c_str();
    const std::string visible(cText); // up to the first NUL

    TStringList plain;
    const int count = NUtilsKx::SplitQuoted(cText, separator, &plain, '\0');
    if (count != plain.Count())
        std::abort();
    if (!visible.empty() && separator != '\0') {
        size_t separators = 0;
        for (char c : visible)
            separators += c == separator;
        if (static_cast<size_t>(count) != separators + 1)
            std::abort();
        std::string joined = plain[0];
        for (int i = 1; i < count; ++i)
            joined += separator + plain[i];
        if (joined != visible)
            std::abort();
    }

    TStringList quoted;
    const int quotedCount = NUtilsKx::SplitQuoted(cText, separator, &quoted, quote);
    if (quotedCount != quoted.Count() || quotedCount > count + 1)
        std::abort();
    if (quote != '\0')
        for (int i = 0; i < quoted.Count(); ++i)
            if (quoted[i].find(quote) != std::string::npos)
                std::abort();
    return 0;
}
