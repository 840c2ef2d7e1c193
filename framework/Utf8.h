#pragma once
// The program's text is single-byte code page 1252 on every platform; where a
// platform speaks UTF-8 (Linux: the command line, the toolkit), the text is
// converted at that boundary.
#include <string>
#include <string_view>

#include "AnsiString.h"

// The Unicode code point of a code-page-1252 character. The five codes that
// the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// control characters of the same value, as Windows maps them, so every byte
// has a code point and back.
char32_t AnsiCharToUnicode(char c);
// The code-page-1252 character of a code point; false when there is none.
bool UnicodeToAnsiChar(char32_t codePoint, char& c);

// UTF-8 to code page 1252. A character the code page cannot hold becomes one
// "?", and so does each byte that is not part of a well-formed UTF-8
// sequence (overlong forms, surrogates and code points past U+10FFFF
// included).
AnsiString Utf8ToAnsi(std::string_view utf8);
// UTF-16 bytes, little- or big-endian, to code page 1252. A character the
// code page cannot hold becomes one "?" (a surrogate pair is one character),
// and so does a lone surrogate or an odd byte at the end.
AnsiString Utf16ToAnsi(std::string_view bytes, bool bigEndian);
// Code page 1252 to UTF-8; every byte has its character.
std::string AnsiToUtf8(std::string_view ansi);
