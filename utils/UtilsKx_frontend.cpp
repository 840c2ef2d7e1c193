// Text splitting and path delimiters.
#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace NUtilsKx {

int SplitQuoted(const char* text, char separator, TStrings* list, char quote)
{
    if (text == nullptr || *text == '\0')
        return 0;
    int count = 0;
    bool inQuotes = false;
    AnsiString pending;
    const char* start = text;
    for (const char* p = text;; ++p) {
        if (quote != '\0' && *p == quote) {
            pending.append(start, p);
            start = p + 1;
            inQuotes = !inQuotes;
        } else if (*p == separator || *p == '\0') {
            if (!inQuotes) {
                pending.append(start, p);
                list->Add(pending);
                ++count;
                pending.clear();
                start = p + 1;
            }
        }
        if (*p == '\0')
            break;
    }
    return count;
}

void AddPathDelimiter(AnsiString& path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
}

void RemovePathDelimiter(AnsiString& path)
{
    const size_t length = path.size();
    if (length < 2 || path[length - 1] != '\\' || path[length - 2] == ':')
        return;
    path.pop_back();
}

} // namespace NUtilsKx
