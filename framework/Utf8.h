#pragma once
// The front end's text is UTF-8: the command line, the ini file's texts, the
// command channel, the window, its boxes and the diagnostic lines. The
// library's texts are single-byte code page text, and older files and
// senders write it too: where a text is not well-formed UTF-8, it is read in
// the legacy code page (the ANSI code page on Windows, 1252 elsewhere).
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

// Whether every byte belongs to a well-formed UTF-8 sequence (no overlong
// form, no surrogate, nothing past U+10FFFF).
bool IsWellFormedUtf8(std::string_view text);
// Text in the legacy code page as UTF-8 (platform code: the ANSI code page
// on Windows, 1252 elsewhere).
std::string LegacyToUtf8(std::string_view legacy);
// The text as it is, when it is well-formed UTF-8; else read in the legacy
// code page.
std::string TextToUtf8(std::string_view text);
// UTF-16 bytes, little- or big-endian, to UTF-8. A lone surrogate, and an
// odd byte at the end, become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// The first `count` characters of well-formed UTF-8 (all, when it has fewer).
std::string_view Utf8Prefix(std::string_view utf8, size_t count);
// The longest start of the text that has at most `bytes` bytes and ends on
// a character's boundary.
std::string_view Utf8Cut(std::string_view utf8, size_t bytes);
// Each character of well-formed UTF-8 through `map`; other bytes stay.
std::string MapUtf8(std::string_view utf8, char32_t (*map)(char32_t));
// Whether the first character with a strong direction is written right to
// left (Hebrew, Arabic, Syriac, Thaana, N'Ko and their neighbours): such a
// text is laid out from the right.
bool StartsRightToLeft(std::string_view utf8);

// UTF-8 to code page 1252. A character the code page cannot hold becomes one
// "?", and so does each byte that is not part of a well-formed UTF-8
// sequence (overlong forms, surrogates and code points past U+10FFFF
// included).
AnsiString Utf8ToAnsi(std::string_view utf8);
// Code page 1252 to UTF-8; every byte has its character.
std::string AnsiToUtf8(std::string_view ansi);
