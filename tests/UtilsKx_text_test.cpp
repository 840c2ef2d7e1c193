#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <typeinfo>

#include "SysUtils.h"
#include "UtilsKx.h"
#include "support/ReferenceSearch.h"

namespace {

using namespace NUtilsKx;

struct TSearchCase {
    const char* Pattern;
    const char* Text;
    bool CaseSensitive;
    bool WholeWord;
    int Offset;
};

const TSearchCase SearchCases[] = {
    {"ab", "abxyz", true, false, 0},
    {"ab", "xyzab", true, false, 3},
    {"AB", "xyzab", true, false, -1},
    {"AB", "xyzab", false, false, 3},
    {"ab", "xyzAB", false, false, 3},
    {"aab", "aaab", true, false, 1},
    {"abc", "xab", true, false, -1},
    {"abc", "ab", false, false, -1},
    // Whole words: never inside a longer word, found after a space or at the end.
    {"ab", "xab", true, true, -1},
    {"ab", "xaby", true, true, -1},
    {"ab", "abc", false, true, -1},
    {"ab", "x ab", true, true, 2},
    {"AB", "x ab", false, true, 2},
    {"ab", "ab", true, true, 0},
    {"ab", "ab.", true, true, 0},
    {"ab", "abc ab", true, true, 4},
    {"ab", "a.ab", true, true, 2},
    {"a.", "a.b a.", true, true, 4},
    // After a failed attempt the search walks on from the failing character:
    // "a.b" at offset 2 is never tried, although a non-word character precedes it.
    {"a.b", "a.a.b", true, true, -1},
    {"a.b", "a.a.b", true, false, 2},
    {" b", "a b", true, true, -1},
};

TEST(SearchText, FindsTheFirstMatchByTheStatedRules)
{
    for (const TSearchCase& c : SearchCases)
        EXPECT_EQ(SearchText(c.Pattern, c.Text, c.CaseSensitive, c.WholeWord), c.Offset)
            << '"' << c.Pattern << "\" in \"" << c.Text << "\" " << c.CaseSensitive << c.WholeWord;
}

TEST(SearchText, NullOrEmptyArgumentsFindNothing)
{
    for (const bool caseSensitive : {true, false})
        for (const bool wholeWord : {true, false}) {
            EXPECT_EQ(SearchText(nullptr, "abc", caseSensitive, wholeWord), -1);
            EXPECT_EQ(SearchText("", "abc", caseSensitive, wholeWord), -1);
            EXPECT_EQ(SearchText("a", nullptr, caseSensitive, wholeWord), -1);
            EXPECT_EQ(SearchText("a", "", caseSensitive, wholeWord), -1);
        }
}

TEST(SearchText, AgreesWithTheReferenceSearchOnGeneratedTexts)
{
    // A small alphabet makes partial matches, case pairs and word edges common.
    const char alphabet[] = "aAbB .1-\xC4\xE4";
    std::mt19937 random(20240501);
    const auto generate = [&](size_t maxLength) {
        AnsiString s(std::uniform_int_distribution<size_t>(0, maxLength)(random), ' ');
        for (char& c : s)
            c = alphabet[std::uniform_int_distribution<size_t>(0, sizeof alphabet - 2)(random)];
        return s;
    };
    int mismatches = 0;
    for (int round = 0; round < 20000 && mismatches < 10; ++round) {
        const AnsiString pattern = generate(4);
        const AnsiString text = generate(40);
        for (int flags = 0; flags < 4; ++flags) {
            const bool caseSensitive = flags & 1;
            const bool wholeWord = flags & 2;
            const int expected = ReferenceSearch(pattern, text, caseSensitive, wholeWord);
            const int found = SearchText(pattern.c_str(), text.c_str(), caseSensitive, wholeWord);
            if (found != expected) {
                ++mismatches;
                ADD_FAILURE() << '"' << pattern << "\" in \"" << text << "\" cs=" << caseSensitive
                              << " ww=" << wholeWord << ": " << found << " instead of " << expected;
            }
        }
    }
}

struct TWrapCase {
    const char* Text;
    int MaxCol;
    const char* Break;
    const char* Wrapped;
};

const TWrapCase WrapCases[] = {
    {"Hello World", 8, "\n", "Hello\nWorld"},
    {"Hello World", 11, "\n", "Hello World"},
    {"Hello World", 40, "\n", "Hello World"},
    {"", 5, "|", ""},
    {"one two three four", 9, "\r\n", "one two\r\nthree\r\nfour"},
    // Only the last of several spaces gives way to the break text.
    {"ab  cd", 4, "|", "ab |cd"},
    // A word longer than the maximum is never broken; counting restarts
    // behind its first maxCol + 1 characters.
    {"Superlongword", 5, "|", "Superlongword"},
    {"ab cdefghij kl", 3, "|", "ab|cdefghij kl"},
    // Line breaks of the text stay and restart the count.
    {"aaa bbb\nccc ddd", 5, "|", "aaa|bbb\nccc|ddd"},
    {"aaa bbb\r\nccc ddd", 5, "|", "aaa|bbb\r\nccc|ddd"},
    {"aaa bbb\rccc ddd", 5, "|", "aaa|bbb\rccc|ddd"},
    {"aaaaa\nbbbbb", 5, "|", "aaaaa\nbbbbb"},
    // A maximum of 0 or less turns every space into the break text.
    {"a b  c", 0, "<br>", "a<br>b<br><br>c"},
    {"a b", -5, "<br>", "a<br>b"},
};

TEST(WrapText, BreaksAtTheLastSpaceOnceALineGrowsPastTheMaximum)
{
    for (const TWrapCase& c : WrapCases) {
        AnsiString text = c.Text;
        EXPECT_EQ(WrapText(text, c.MaxCol, c.Break), c.Wrapped) << '"' << c.Text << "\" at " << c.MaxCol;
        EXPECT_EQ(text, c.Text);
    }
}

TEST(ConvertToHex, TwoUpperCaseDigitsPerByte)
{
    EXPECT_EQ(ConvertToHex("\x00\xFF", 2), "00FF");
    EXPECT_EQ(ConvertToHex("\x0a\x7f\x80", 3), "0A7F80");
    EXPECT_EQ(ConvertToHex("abc", 0), "");
    EXPECT_EQ(ConvertToHex("abc", -1), "");
}

TEST(ConvertToHex, CountBeyondTheIntRangeIsOutOfMemoryBeforeAnyRead)
{
    // The one byte here is all there is: reading more would be caught by the sanitizers.
    const char data[1] = {'x'};
    EXPECT_THROW(ConvertToHex(data, INT_MAX), std::bad_alloc);
    EXPECT_THROW(ConvertToHex(data, INT_MAX / 2 + 1), std::bad_alloc);
}

TEST(ConvertFromHex, RoundTripsEveryByteValueInEitherCase)
{
    char bytes[256];
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    const AnsiString hex = ConvertToHex(bytes, 256);
    ASSERT_EQ(hex.size(), 512u);
    for (const AnsiString& text : {hex, AnsiLowerCase(hex)}) {
        char back[256] = {};
        EXPECT_EQ(ConvertFromHex(text, back, sizeof back), 256);
        EXPECT_EQ(AnsiString(back, 256), AnsiString(bytes, 256));
    }
}

template <typename TFunction>
void ExpectRaise(TFunction function, const std::type_info& type, const AnsiString& message)
{
    try {
        function();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const Exception& error) {
        EXPECT_EQ(typeid(error), type) << error.Message;
        EXPECT_EQ(error.Message, message);
    }
}

TEST(ConvertFromHex, StopsAtTheBufferSizeOrRaisesForABadPair)
{
    char buffer[4] = {'k', 'k', 'k', 'k'};
    EXPECT_EQ(ConvertFromHex("", buffer, 4), 0);
    EXPECT_EQ(ConvertFromHex("0aFf7F", buffer, 4), 3);
    EXPECT_EQ(AnsiString(buffer, 4), "\x0a\xff\x7fk");
    // The size is reached first: the rest, odd or not, is ignored.
    EXPECT_EQ(ConvertFromHex("ABC", buffer, 1), 1);
    EXPECT_EQ(buffer[0], '\xAB');
    EXPECT_EQ(ConvertFromHex("A", buffer, 0), 0);
    EXPECT_EQ(ConvertFromHex("A", buffer, -1), 0);

    buffer[0] = 'k';
    ExpectRaise([&] { ConvertFromHex("ABC", buffer, 4); }, typeid(Exception), "Ungültiger Hexstring");
    EXPECT_EQ(buffer[0], '\xAB');
    ExpectRaise([&] { ConvertFromHex("12zz", buffer, 4); }, typeid(EConvertError),
                "'0Xzz' ist kein gültiger Integerwert");
    EXPECT_EQ(buffer[0], '\x12');
    for (const char* pair : {"A ", " A", "+1", "-1", "x1", "$1"})
        ExpectRaise([&] { ConvertFromHex(pair, buffer, 4); }, typeid(EConvertError),
                    "'0X" + AnsiString(pair) + "' ist kein gültiger Integerwert");
}

TEST(TextToBool, AcceptsOnlyTheTwoWordsInAnyCase)
{
    for (const char* text : {"true", "TRUE", "tRuE"})
        EXPECT_TRUE(TextToBool(text)) << text;
    for (const char* text : {"false", "FaLsE"})
        EXPECT_FALSE(TextToBool(text)) << text;
    for (const char* text : {" true", "false ", "", "yes", "1", "truefalse", "tru"})
        ExpectRaise([&] { TextToBool(text); }, typeid(Exception), "Ungültiger boolscher Wert");
    EXPECT_EQ(BoolToText(true), "true");
    EXPECT_EQ(BoolToText(false), "false");
}

TEST(ExtractFileNamePrefix, DropsOnlyTheLastExtensionOfTheFileName)
{
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\dir\\archive.tar.gz", "archive.tar"}, {"C:\\my.dir\\file", "file"}, {".profile", ""},
        {"C:\\dir\\", ""},                          {"C:file.txt", "file"},       {"", ""},
        {"name", "name"},                           {"a/b.c", "a/b"},             {"x\\name.", "name"},
    };
    for (const auto& [path, prefix] : cases)
        EXPECT_EQ(ExtractFileNamePrefix(path), prefix) << path;
}

TEST(IsNumericString, OnlyDigitsAndTheEmptyText)
{
    for (const char* text : {"", "0", "0123456789"})
        EXPECT_TRUE(IsNumericString(text)) << text;
    for (const char* text : {"-1", "+1", "1 ", "1.5", "1,000", "a", "\xB2"})
        EXPECT_FALSE(IsNumericString(text)) << text;
}

TEST(Trim, RemovesTheRunOfTheGivenCharacterOnly)
{
    EXPECT_EQ(LTrim("xxabcxx", 'x'), "abcxx");
    EXPECT_EQ(RTrim("xxabcxx", 'x'), "xxabc");
    EXPECT_EQ(LTrim("xxx", 'x'), "");
    EXPECT_EQ(RTrim("xxx", 'x'), "");
    EXPECT_EQ(LTrim("", 'x'), "");
    EXPECT_EQ(RTrim("", 'x'), "");
    EXPECT_EQ(LTrim("Xxa", 'x'), "Xxa");
    EXPECT_EQ(RTrim(" a \t", ' '), " a \t");
    EXPECT_EQ(RTrim(AnsiString("a\0\0", 3), '\0'), "a");
}

TEST(ValidateFileName, ChecksEveryByteAgainstTheFileNameTable)
{
    const AnsiString forbidden = "\"*/:<>?\\|\x80\x81\x8D\x8E\x8F\x90\x9D\x9E";
    for (int code = 0; code < 256; ++code) {
        const char c = static_cast<char>(code);
        const bool isForbidden = (code >= 1 && code <= 31) || forbidden.find(c) != AnsiString::npos;
        AnsiString name = AnsiString("ab") + c;
        EXPECT_EQ(ValidateFileName(name, false), isForbidden ? 2 : -1) << code;
        EXPECT_EQ(ValidateFileName(name, true), isForbidden ? 1 : 0) << code;
        EXPECT_EQ(name, isForbidden ? AnsiString("ab-") : AnsiString("ab") + c) << code;
    }
}

TEST(ValidateFileName, ReportsTheFirstPositionOrReplacesAll)
{
    AnsiString name = "ab:c?d";
    EXPECT_EQ(ValidateFileName(name, false), 2);
    EXPECT_EQ(name, "ab:c?d");
    EXPECT_EQ(ValidateFileName(name, true), 2);
    EXPECT_EQ(name, "ab-c-d");
    EXPECT_EQ(ValidateFileName(name, true), 0);
    // An embedded NUL is an allowed character, not the end of the name.
    AnsiString withNul("a\0|", 3);
    EXPECT_EQ(ValidateFileName(withNul, false), 2);
    AnsiString empty;
    EXPECT_EQ(ValidateFileName(empty, false), -1);
    EXPECT_EQ(ValidateFileName(empty, true), 0);
}

} // namespace
