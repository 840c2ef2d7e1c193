// Locale routines on Linux: the program's text is code page 1252, the
// letters and their order are those of the user's locale (from LC_ALL,
// LC_CTYPE, LC_COLLATE or LANG). ASCII letters map as on Windows in every
// locale; for the others each character goes to its Unicode code point and
// back, and a mapping that leads out of the code page leaves the character as
// it was. The locale is loaded only when a character beyond ASCII or an
// order is asked for, so that a sender run with ASCII arguments loads none.
#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <cstdlib>
#include <string>

#include "Language.h"
#include "SysUtils.h"
#include "Utf8.h"

namespace {

locale_t UserLocale()
{
    static const locale_t locale = [] {
        const locale_t own = newlocale(LC_CTYPE_MASK | LC_COLLATE_MASK, "", nullptr);
        return own != nullptr ? own : newlocale(LC_CTYPE_MASK | LC_COLLATE_MASK, "C", nullptr);
    }();
    return locale;
}

bool IsAscii(char c)
{
    return static_cast<unsigned char>(c) < 0x80;
}

char Lower(char c)
{
    if (IsAscii(c))
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    char mapped = c;
    return UnicodeToAnsiChar(static_cast<char32_t>(towlower_l(static_cast<wint_t>(AnsiCharToUnicode(c)), UserLocale())),
                             mapped)
               ? mapped
               : c;
}

char Upper(char c)
{
    if (IsAscii(c))
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    char mapped = c;
    return UnicodeToAnsiChar(static_cast<char32_t>(towupper_l(static_cast<wint_t>(AnsiCharToUnicode(c)), UserLocale())),
                             mapped)
               ? mapped
               : c;
}

AnsiString MapCase(const AnsiString& text, char (*map)(char))
{
    AnsiString result = text;
    for (char& c : result)
        c = map(c);
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
    const int order = wcscoll_l(Wide(a).c_str(), Wide(b).c_str(), UserLocale());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace

AnsiString AnsiLowerCase(const AnsiString& text)
{
    return MapCase(text, Lower);
}

AnsiString Utf8LowerCase(const AnsiString& utf8)
{
    return MapUtf8(utf8, [](char32_t c) -> char32_t {
        if (c < 0x80)
            return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
        return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), UserLocale()));
    });
}

std::string LegacyToUtf8(std::string_view legacy)
{
    return AnsiToUtf8(legacy);
}

AnsiString AnsiUpperCase(const AnsiString& text)
{
    return MapCase(text, Upper);
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    return Collate(a, b);
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    return Collate(AnsiLowerCase(a), AnsiLowerCase(b));
}

bool AnsiSameText(const AnsiString& a, const AnsiString& b)
{
    return AnsiLowerCase(a) == AnsiLowerCase(b);
}

char AnsiCharLower(char c)
{
    return Lower(c);
}

bool AnsiIsCharAlphaNumeric(char c)
{
    if (IsAscii(c))
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return iswalnum_l(static_cast<wint_t>(AnsiCharToUnicode(c)), UserLocale()) != 0;
}

AnsiString AnsiCharUpperBuff(const AnsiString& text)
{
    return MapCase(text, Upper);
}

AnsiString UserLanguage()
{
    return LanguageFromEnvironment([](const char* name) { return std::getenv(name); });
}
