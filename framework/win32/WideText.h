#pragma once
// The front end's UTF-8 at Windows' boundary, where the system speaks UTF-16.
#include <string>
#include <string_view>

std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);
// A text of the framework's (UTF-8, or the ANSI code page where it is not
// well-formed UTF-8) as the W functions take it.
std::wstring WideOf(std::string_view text);
