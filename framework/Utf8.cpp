#include "Utf8.h"

namespace {

// Code points of 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr char32_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Decodes the sequence at `text[at]`; returns its length, or 0 when the bytes
// there do not begin a well-formed sequence.
size_t DecodeUtf8(std::string_view text, size_t at, char32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    char32_t lowest = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - at < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[at + i]);
        if (!IsContinuation(byte))
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

constexpr char32_t Replacement = 0xFFFD;

// Scripts written from the right: Hebrew to N'Ko and Samaritan to the Arabic
// extensions, the presentation forms of both, and their historic and
// supplementary planes' blocks.
bool IsRightToLeft(char32_t c)
{
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF) ||
           (c >= 0x10800 && c <= 0x10FFF) || (c >= 0x1E800 && c <= 0x1EFFF);
}

// Letters of the scripts written from the left; digits, punctuation, symbols
// and blanks take their direction from the text around them.
bool IsLeftToRight(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (c < 0xC0 || c == 0xD7 || c == 0xF7)
        return c == 0xAA || c == 0xB5 || c == 0xBA;
    const bool neutral = (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x3000 && c <= 0x303F) ||
                         (c >= 0xFE00 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFF20) ||
                         (c >= 0xFFF0 && c <= 0xFFFF) || (c >= 0x1F000 && c <= 0x1FFFF);
    return !neutral && !IsRightToLeft(c);
}

} // namespace

char32_t AnsiCharToUnicode(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x80 && byte <= 0x9F ? HighControls[byte - 0x80] : byte;
}

bool UnicodeToAnsiChar(char32_t codePoint, char& c)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        c = static_cast<char>(codePoint);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i)
        if (HighControls[i] == codePoint) {
            c = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

AnsiString Utf8ToAnsi(std::string_view utf8)
{
    AnsiString result;
    result.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const size_t length = DecodeUtf8(utf8, at, codePoint);
        char c = '?';
        if (length == 0 || !UnicodeToAnsiChar(codePoint, c))
            c = '?';
        result += c;
        at += length == 0 ? 1 : length;
    }
    return result;
}

bool IsWellFormedUtf8(std::string_view text)
{
    char32_t codePoint = 0;
    for (size_t at = 0, length = 0; at < text.size(); at += length)
        if ((length = DecodeUtf8(text, at, codePoint)) == 0)
            return false;
    return true;
}

std::string TextToUtf8(std::string_view text)
{
    return IsWellFormedUtf8(text) ? std::string(text) : LegacyToUtf8(text);
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    const auto unitAt = [&](size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::string result;
    result.reserve(bytes.size() / 2 * 3 + 3);
    size_t at = 0;
    for (; bytes.size() - at >= 2; at += 2) {
        char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && bytes.size() - at >= 4 && unitAt(at + 2) >= 0xDC00 &&
            unitAt(at + 2) <= 0xDFFF) {
            unit = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(at + 2) - 0xDC00);
            at += 2;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            unit = Replacement;
        }
        AppendUtf8(result, unit);
    }
    if (at < bytes.size())
        AppendUtf8(result, Replacement);
    return result;
}

std::string_view Utf8Prefix(std::string_view utf8, size_t count)
{
    size_t at = 0;
    for (char32_t codePoint = 0; count > 0 && at < utf8.size(); --count) {
        const size_t length = DecodeUtf8(utf8, at, codePoint);
        at += length == 0 ? 1 : length;
    }
    return utf8.substr(0, at);
}

std::string_view Utf8Cut(std::string_view utf8, size_t bytes)
{
    if (utf8.size() <= bytes)
        return utf8;
    size_t end = bytes;
    while (end > 0 && IsContinuation(static_cast<unsigned char>(utf8[end])))
        --end;
    return utf8.substr(0, end);
}

std::string MapUtf8(std::string_view utf8, char32_t (*map)(char32_t))
{
    std::string result;
    result.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const size_t length = DecodeUtf8(utf8, at, codePoint);
        if (length == 0)
            result += utf8[at++];
        else
            AppendUtf8(result, map(codePoint));
        at += length;
    }
    return result;
}

bool StartsRightToLeft(std::string_view utf8)
{
    for (size_t at = 0; at < utf8.size();) {
        char32_t codePoint = 0;
        const size_t length = DecodeUtf8(utf8, at, codePoint);
        if (length != 0 && IsRightToLeft(codePoint))
            return true;
        if (length != 0 && IsLeftToRight(codePoint))
            return false;
        at += length == 0 ? 1 : length;
    }
    return false;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string result;
    result.reserve(ansi.size());
    for (const char c : ansi)
        AppendUtf8(result, AnsiCharToUnicode(c));
    return result;
}
