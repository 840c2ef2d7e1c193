// Locale routines without a platform locale: ASCII letters and digits only,
// byte order for comparisons. They give the same answers as the Windows ones
// for ASCII text.
#include "Language.h"
#include "SysUtils.h"
#include "Utf8.h"

#include <cstring>

namespace {

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int CompareBytes(const AnsiString& a, const AnsiString& b)
{
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    const int order = std::memcmp(a.data(), b.data(), common);
    if (order != 0)
        return order < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

AnsiString AnsiLowerCase(const AnsiString& text)
{
    AnsiString result = text;
    for (char& c : result)
        c = AsciiLower(c);
    return result;
}

AnsiString Utf8LowerCase(const AnsiString& utf8)
{
    return MapUtf8(utf8, [](char32_t c) -> char32_t { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
}

std::string LegacyToUtf8(std::string_view legacy)
{
    return AnsiToUtf8(legacy);
}

AnsiString AnsiUpperCase(const AnsiString& text)
{
    AnsiString result = text;
    for (char& c : result)
        c = AsciiUpper(c);
    return result;
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    return CompareBytes(a, b);
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    return CompareBytes(AnsiLowerCase(a), AnsiLowerCase(b));
}

bool AnsiSameText(const AnsiString& a, const AnsiString& b)
{
    return AnsiCompareText(a, b) == 0;
}

char AnsiCharLower(char c)
{
    return AsciiLower(c);
}

bool AnsiIsCharAlphaNumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

AnsiString AnsiCharUpperBuff(const AnsiString& text)
{
    return AnsiUpperCase(text);
}

AnsiString UserLanguage()
{
    return AnsiString();
}
