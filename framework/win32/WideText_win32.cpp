#include <windows.h>

#include "Utf8.h"
#include "WideText.h"

namespace {

std::wstring ToWide(UINT codePage, std::string_view text)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

} // namespace

std::wstring Utf8ToWide(std::string_view utf8)
{
    return ToWide(CP_UTF8, utf8);
}

std::string WideToUtf8(std::wstring_view wide)
{
    if (wide.empty())
        return std::string();
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring WideOf(std::string_view text)
{
    return ToWide(IsWellFormedUtf8(text) ? CP_UTF8 : CP_ACP, text);
}

// Windows reads a file without a byte-order mark, and a program's single-byte
// text, in the system's ANSI code page.
std::string LegacyToUtf8(std::string_view legacy)
{
    return WideToUtf8(ToWide(CP_ACP, legacy));
}
