// Locale routines on Linux: the program's text is code page 1252, the
// letters and their order are those of the user's locale (LC_CTYPE and
// LC_COLLATE, which the program's main function takes from the environment).
// Each character goes to its Unicode code point and back; a case mapping that
// leads out of the code page leaves the character as it was.
#include <cwchar>
#include <cwctype>
#include <string>

#include "../SysUtils.h"
#include "../Utf8.h"

namespace {

char MapChar(char c, std::wint_t (*map)(std::wint_t))
{
    char mapped = c;
    if (!UnicodeToAnsiChar(static_cast<char32_t>(map(static_cast<std::wint_t>(AnsiCharToUnicode(c)))), mapped))
        return c;
    return mapped;
}

AnsiString MapCase(const AnsiString& text, std::wint_t (*map)(std::wint_t))
{
    AnsiString result = text;
    for (char& c : result)
        c = MapChar(c, map);
    return result;
}

std::wstring Wide(const AnsiString& text)
{
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text)
        wide += static_cast<wchar_t>(AnsiCharToUnicode(c));
    return wide;
}

int Collate(const AnsiString& a, const AnsiString& b)
{
    const int order = std::wcscoll(Wide(a).c_str(), Wide(b).c_str());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

AnsiString AnsiLowerCase(const AnsiString& text)
{
    return MapCase(text, std::towlower);
}

AnsiString AnsiUpperCase(const AnsiString& text)
{
    return MapCase(text, std::towupper);
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    return Collate(a, b);
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    return Collate(AnsiLowerCase(a), AnsiLowerCase(b));
}

char AnsiCharLower(char c)
{
    return MapChar(c, std::towlower);
}

bool AnsiIsCharAlphaNumeric(char c)
{
    return std::iswalnum(static_cast<std::wint_t>(AnsiCharToUnicode(c))) != 0;
}

AnsiString AnsiCharUpperBuff(const AnsiString& text)
{
    return MapCase(text, std::towupper);
}
