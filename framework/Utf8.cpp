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
    } else {
        // Code page 1252 reaches no further than U+2122.
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
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

AnsiString Utf16ToAnsi(std::string_view bytes, bool bigEndian)
{
    const auto unitAt = [&](size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    AnsiString result;
    result.reserve(bytes.size() / 2 + 1);
    size_t at = 0;
    for (; bytes.size() - at >= 2; at += 2) {
        const char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && bytes.size() - at >= 4) {
            const char32_t next = unitAt(at + 2);
            if (next >= 0xDC00 && next <= 0xDFFF)
                at += 2;
        }
        // Surrogates have no character in the code page: '?' stays.
        char c = '?';
        UnicodeToAnsiChar(unit, c);
        result += c;
    }
    if (at < bytes.size())
        result += '?';
    return result;
}

std::string AnsiToUtf8(std::string_view ansi)
{
    std::string result;
    result.reserve(ansi.size());
    for (const char c : ansi)
        AppendUtf8(result, AnsiCharToUnicode(c));
    return result;
}
