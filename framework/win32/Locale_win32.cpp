// Locale routines of the user's locale and ANSI code page. Comparison and
// case mapping come from kernel32, so that runs which show no window never
// load user32; the single-character routines are user32's, as callers expect.
#include <windows.h>

#include "Language.h"
#include "SysUtils.h"
#include "WideText.h"

namespace {

AnsiString MapCase(const AnsiString& text, DWORD flags)
{
    if (text.empty())
        return text;
    AnsiString result(text.size(), '\0');
    const int length = LCMapStringA(LOCALE_USER_DEFAULT, flags, text.data(), static_cast<int>(text.size()),
                                    result.data(), static_cast<int>(result.size()));
    if (length <= 0)
        return text;
    result.resize(static_cast<size_t>(length));
    return result;
}

int Compare(const AnsiString& a, const AnsiString& b, DWORD flags)
{
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) - CSTR_EQUAL;
}

} // namespace

AnsiString AnsiLowerCase(const AnsiString& text)
{
    return MapCase(text, LCMAP_LOWERCASE);
}

AnsiString Utf8LowerCase(const AnsiString& utf8)
{
    const std::wstring wide = Utf8ToWide(utf8);
    if (wide.empty())
        return utf8;
    std::wstring lower(wide.size(), L'\0');
    const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, wide.data(), static_cast<int>(wide.size()),
                                    lower.data(), static_cast<int>(lower.size()));
    if (length <= 0)
        return utf8;
    lower.resize(static_cast<size_t>(length));
    return WideToUtf8(lower);
}

AnsiString AnsiUpperCase(const AnsiString& text)
{
    return MapCase(text, LCMAP_UPPERCASE);
}

int AnsiCompareStr(const AnsiString& a, const AnsiString& b)
{
    return Compare(a, b, 0);
}

int AnsiCompareText(const AnsiString& a, const AnsiString& b)
{
    return Compare(a, b, NORM_IGNORECASE);
}

bool AnsiSameText(const AnsiString& a, const AnsiString& b)
{
    return AnsiCompareText(a, b) == 0;
}

char AnsiCharLower(char c)
{
    // CharLowerA takes a single character in the low word of its argument.
    const auto lowered = reinterpret_cast<ULONG_PTR>(CharLowerA(reinterpret_cast<LPSTR>(
        static_cast<ULONG_PTR>(static_cast<unsigned char>(c)))));
    return static_cast<char>(lowered & 0xFF);
}

bool AnsiIsCharAlphaNumeric(char c)
{
    return IsCharAlphaNumericA(c) != FALSE;
}

AnsiString AnsiCharUpperBuff(const AnsiString& text)
{
    AnsiString result = text;
    if (!result.empty())
        CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
    return result;
}

AnsiString UserLanguage()
{
    // The UI language's identifier becomes its name ("de-DE", "sr-Latn-RS");
    // locale names are ASCII.
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    if (LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0) == 0)
        return AnsiString();
    AnsiString ascii;
    for (const wchar_t* c = name; *c != L'\0'; ++c)
        ascii += *c < 0x80 ? static_cast<char>(*c) : '?';
    return LanguageTagOf(ascii);
}
