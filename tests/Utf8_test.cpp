// Code page 1252, UTF-8 and UTF-16: what the program converts at its edges
// (the Linux command line and toolkit, ini files with a byte-order mark).
#include <gtest/gtest.h>

#include "Utf8.h"

namespace {

TEST(Utf8, EveryCodePageByteHasItsCharacterAndComesBack)
{
    AnsiString all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const std::string utf8 = AnsiToUtf8(all);
    EXPECT_EQ(Utf8ToAnsi(utf8), all);
    const struct {
        const char* Ansi;
        const char* Utf8;
    } pairs[] = {
        {"\x80", "\xE2\x82\xAC"}, {"\xFC", "\xC3\xBC"}, {"\x9F", "\xC5\xB8"}, {"\x99", "\xE2\x84\xA2"},
        {"\x81", "\xC2\x81"},     {"\xA0", "\xC2\xA0"}, {"A&_", "A&_"},       {"\x8A\x9A", "\xC5\xA0\xC5\xA1"},
    };
    for (const auto& pair : pairs) {
        EXPECT_EQ(AnsiToUtf8(pair.Ansi), pair.Utf8) << pair.Utf8;
        EXPECT_EQ(Utf8ToAnsi(pair.Utf8), pair.Ansi) << pair.Utf8;
    }
    EXPECT_EQ(AnsiToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8, WhatTheCodePageCannotHoldBecomesOneQuestionMarkEach)
{
    const struct {
        const char* Utf8;
        const char* Ansi;
    } cases[] = {
        {"\xE6\x97\xA5\xE6\x9C\xAC", "??"},   // two characters outside the code page
        {"\xC5\x82" "odz", "?odz"},           // no best fit: a letter without its accent is another letter
        {"\xF0\x9F\x98\x80!", "?!"},          // beyond the basic plane
        {"\xC0\xAF", "??"},                   // overlong
        {"\xE0\x80\xAF", "???"},              // overlong
        {"\xED\xA0\x80", "???"},              // a surrogate
        {"\xF4\x90\x80\x80", "????"},         // past U+10FFFF
        {"ab\xE2\x82", "ab??"},               // cut off at the end
        {"\xE2\x82" "x", "??x"},              // cut off before an ASCII character
        {"\x80\xBF", "??"},                   // continuation bytes alone
        {"\xFF\xFE", "??"},                   // bytes that never occur
        {"", ""},
    };
    for (const auto& item : cases)
        EXPECT_EQ(Utf8ToAnsi(item.Utf8), item.Ansi) << item.Ansi;
}

// A literal with the NULs inside it.
template <size_t N>
constexpr std::string_view Bytes(const char (&text)[N])
{
    return {text, N - 1};
}

TEST(Utf16, NulsStayPairsJoinAndBrokenOnesAndAnOddByteBecomeReplacements)
{
    const struct {
        const char* Name;
        std::string_view Utf16; // little-endian
        std::string_view Utf8;
    } cases[] = {
        {"a NUL stays", Bytes("a\0\0\0b\0"), Bytes("a\0b")},
        {"a pair is one character", Bytes("\x3D\xD8\x00\xDE"), "\xF0\x9F\x98\x80"},
        {"a high surrogate before a letter", Bytes("\x3D\xD8" "A\0"), "\xEF\xBF\xBD" "A"},
        {"a high surrogate at the end", "\x3D\xD8", "\xEF\xBF\xBD"},
        {"a low surrogate alone", Bytes("\0\xDE" "A\0"), "\xEF\xBF\xBD" "A"},
        {"an odd byte at the end", Bytes("A\0B"), "A\xEF\xBF\xBD"},
    };
    for (const auto& item : cases)
        EXPECT_EQ(Utf16ToUtf8(item.Utf16, false), item.Utf8) << item.Name;
}

TEST(Utf8, CutsOnlyOnCharacterBoundariesAndFindsTheFirstStrongDirection)
{
    const std::string_view office = "\xD0\x9E\xD1\x84\xD0\xB8\xD1\x81"; // four two-byte letters
    EXPECT_EQ(Utf8Cut(office, 5), office.substr(0, 4));
    EXPECT_EQ(Utf8Cut("\xF0\x9F\x98\x80", 3), "");

    const struct {
        const char* Utf8;
        bool RightToLeft;
    } texts[] = {
        {"\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", true}, // Hebrew
        {"3. \xD8\xAA\xD8\xAB\xD8\xA8\xD9\x8A\xD8\xAA Office", true}, // digits and blanks are neutral
        {"Office \xD8\xAA\xD8\xAB\xD8\xA8\xD9\x8A\xD8\xAA", false}, // the first strong letter is Latin
        {"\xE2\x80\xA6 \xE6\x97\xA5\xE6\x9C\xAC", false}, // an ellipsis, then Japanese
        {"123 ...", false},
    };
    for (const auto& text : texts)
        EXPECT_EQ(StartsRightToLeft(text.Utf8), text.RightToLeft) << text.Utf8;
}

} // namespace
