// Searching, wrapping, trimming, checking and converting single-byte text.
#include <array>
#include <climits>
#include <cstring>
#include <new>

#include "ConstKx.h"
#include "SysUtils.h"
#include "UtilsKx.h"

namespace NUtilsKx {

namespace {

// The platform's answers for single characters, asked at most once per
// character value and search: on Windows each is a call into the system.
class TCharInfo {
public:
    TCharInfo() { FWordChar.fill(-1); }

    char Lower(char c)
    {
        unsigned char& entry = FLower[static_cast<unsigned char>(c)];
        // 0 marks "not asked yet"; NUL itself is never asked.
        if (entry == 0 && c != '\0')
            entry = static_cast<unsigned char>(AnsiCharLower(c));
        return static_cast<char>(entry);
    }

    bool IsWordChar(char c)
    {
        if (c == '\0')
            return false;
        signed char& entry = FWordChar[static_cast<unsigned char>(c)];
        if (entry < 0)
            entry = AnsiIsCharAlphaNumeric(c) ? 1 : 0;
        return entry != 0;
    }

private:
    std::array<unsigned char, 256> FLower{};
    std::array<signed char, 256> FWordChar; // -1: not asked yet
};

class TSearch {
public:
    TSearch(const char* pattern, bool caseSensitive)
        : FPattern(pattern), FLength(std::strlen(pattern)), FCaseSensitive(caseSensitive)
    {
        if (!caseSensitive)
            for (char& c : FPattern)
                c = FInfo.Lower(c);
    }

    // Left to right, moving one character on after each failed attempt.
    const char* Plain(const char* text)
    {
        const char first = FPattern[0];
        for (const char* start = text; *start != '\0'; ++start)
            if (Same(*start, first) && MatchLength(start) == FLength)
                return start;
        return nullptr;
    }

    // Attempts start at the text's start or directly behind a non-word
    // character. After a failure, or a match that a word character follows,
    // the search walks on from the character that failed (or the last one
    // matched) over word characters, and tries again behind the first
    // non-word character it meets.
    const char* WholeWord(const char* text)
    {
        for (const char* start = text;;) {
            const size_t matched = MatchLength(start);
            const char* skip = start + matched;
            if (matched == FLength) {
                if (!FInfo.IsWordChar(start[matched]))
                    return start;
                skip = start + matched - 1;
            }
            while (FInfo.IsWordChar(*skip))
                ++skip;
            if (*skip == '\0')
                return nullptr;
            start = skip + 1;
        }
    }

private:
    AnsiString FPattern;
    size_t FLength;
    bool FCaseSensitive;
    TCharInfo FInfo;

    bool Same(char textChar, char patternChar)
    {
        return FCaseSensitive ? textChar == patternChar : FInfo.Lower(textChar) == patternChar;
    }

    // How many pattern characters match from `start` on; stops at the text's end.
    size_t MatchLength(const char* start)
    {
        size_t i = 0;
        while (i < FLength && start[i] != '\0' && Same(start[i], FPattern[i]))
            ++i;
        return i;
    }
};

constexpr std::array<unsigned char, 256> MakeFileNameChars()
{
    std::array<unsigned char, 256> table{};
    for (int c = 1; c <= 31; ++c)
        table[c] = '-';
    // " * / : < > ? \ | and 128, 129, 141 to 144, 157, 158.
    for (int c : {34, 42, 47, 58, 60, 62, 63, 92, 124, 128, 129, 141, 142, 143, 144, 157, 158})
        table[c] = '-';
    return table;
}

// 0: allowed in a file name; otherwise the character that replaces it.
constexpr std::array<unsigned char, 256> FileNameChars = MakeFileNameChars();

bool SameAsciiText(const AnsiString& text, const char* word)
{
    if (text.size() != std::strlen(word))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != word[i])
            return false;
    }
    return true;
}

} // namespace

int SearchText(const char* pattern, const char* text, bool caseSensitive, bool wholeWord)
{
    if (pattern == nullptr || text == nullptr || *pattern == '\0' || *text == '\0')
        return -1;
    const char* found = nullptr;
    if (caseSensitive && !wholeWord) {
        found = std::strstr(text, pattern);
    } else {
        TSearch search(pattern, caseSensitive);
        found = wholeWord ? search.WholeWord(text) : search.Plain(text);
    }
    // An offset that an int cannot hold cannot be reported.
    if (found == nullptr || found - text > INT_MAX)
        return -1;
    return static_cast<int>(found - text);
}

AnsiString WrapText(AnsiString& text, int maxCol, AnsiString breakText)
{
    const size_t npos = AnsiString::npos;
    AnsiString result;
    result.reserve(text.size());
    size_t lineStart = 0;
    size_t lastSpace = npos;
    long long column = 1;
    for (size_t i = 0; i < text.size(); ++i, ++column) {
        const char c = text[i];
        if (c == ' ')
            lastSpace = i;
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            result.append(text, lineStart, i + 1 - lineStart);
            lineStart = i + 1;
            lastSpace = npos;
            column = 0;
        } else if (column > maxCol) {
            if (lastSpace != npos) {
                result.append(text, lineStart, lastSpace - lineStart);
                result += breakText;
                lineStart = lastSpace + 1;
                // The characters behind the space, this one included, are the new line's.
                column = static_cast<long long>(i - lastSpace);
                lastSpace = npos;
            } else {
                result.append(text, lineStart, i + 1 - lineStart);
                lineStart = i + 1;
                column = 0;
            }
        }
    }
    result.append(text, lineStart);
    return result;
}

AnsiString ConvertToHex(const char* data, int count)
{
    if (count <= 0)
        return AnsiString();
    // Text lengths are ints in this library: twice the count must be one.
    if (count > INT_MAX / 2)
        throw std::bad_alloc();
    static constexpr char Digits[] = "0123456789ABCDEF";
    AnsiString result(2 * static_cast<size_t>(count), '\0');
    char* out = result.data();
    for (int i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        *out++ = Digits[byte >> 4];
        *out++ = Digits[byte & 15];
    }
    return result;
}

int ConvertFromHex(const AnsiString& hex, char* buffer, int size)
{
    // Every pair goes through the framework's one integer conversion, which
    // also raises the error for a pair that is not hexadecimal.
    AnsiString number = "0X00";
    int stored = 0;
    for (size_t i = 0; stored < size && i < hex.size(); i += 2) {
        if (i + 1 == hex.size())
            throw Exception(LoadResString(SInvalidHexString));
        number[2] = hex[i];
        number[3] = hex[i + 1];
        buffer[stored++] = static_cast<char>(StrToInt(number) & 0xFF);
    }
    return stored;
}

bool TextToBool(const AnsiString& text)
{
    if (SameAsciiText(text, "true"))
        return true;
    if (SameAsciiText(text, "false"))
        return false;
    throw Exception(LoadResString(SInvalidBoolVal));
}

AnsiString BoolToText(const bool value)
{
    return value ? "true" : "false";
}

AnsiString ExtractFileNamePrefix(const AnsiString& path)
{
    const size_t delimiter = path.find_last_of("\\:");
    const AnsiString name = delimiter == AnsiString::npos ? path : path.substr(delimiter + 1);
    return name.substr(0, name.rfind('.'));
}

bool IsNumericString(const AnsiString& text)
{
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

AnsiString LTrim(AnsiString text, char c)
{
    text.erase(0, text.find_first_not_of(c));
    return text;
}

AnsiString RTrim(AnsiString text, char c)
{
    const size_t last = text.find_last_not_of(c);
    text.erase(last == AnsiString::npos ? 0 : last + 1);
    return text;
}

int ValidateFileName(AnsiString& fileName, bool replace)
{
    int replaced = 0;
    for (size_t i = 0; i < fileName.size(); ++i) {
        const unsigned char replacement = FileNameChars[static_cast<unsigned char>(fileName[i])];
        if (replacement == 0)
            continue;
        if (!replace)
            return static_cast<int>(i);
        fileName[i] = static_cast<char>(replacement);
        ++replaced;
    }
    return replace ? replaced : -1;
}

} // namespace NUtilsKx
