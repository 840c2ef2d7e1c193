// The ini-file reader. These tables run in both builds: under Wine they hold
// the platform's own private-profile functions to the expectations, natively
// our reader of the same format, which gives UTF-8 whatever the file's
// encoding.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string_view>

#include "IniFileKx.h"
#include "IniFiles.h"
#include "TempFolder.h"
#include "SysUtils.h"

namespace {

struct TReadCase {
    const char* Name;
    AnsiString Contents;
    const char* Section;
    const char* Key;
    AnsiString Default;
    AnsiString Expected;
    // What Wine's reader gives where it differs from ours: its texts are
    // code page 1252 (ours are UTF-8), it maps some letters that the code
    // page lacks to a similar one ("best fit"), and a character beyond
    // U+FFFF to two "?".
    std::optional<AnsiString> OnWine = std::nullopt;
};

AnsiString Repeated(size_t count, char c = 'v')
{
    return AnsiString(count, c);
}

AnsiString Repeated(size_t count, const AnsiString& text)
{
    AnsiString repeated;
    while (count-- > 0)
        repeated += text;
    return repeated;
}

// A literal with the NULs inside it.
template <size_t N>
AnsiString Bytes(const char (&text)[N])
{
    return AnsiString(text, N - 1);
}

const AnsiString Long2047 = Repeated(2047);

// Files that begin with a byte-order mark.
AnsiString Utf8Bytes(std::u8string_view text)
{
    return AnsiString(text.begin(), text.end());
}

AnsiString Utf8File(std::u8string_view text)
{
    return "\xEF\xBB\xBF" + Utf8Bytes(text);
}

AnsiString Utf16File(std::u16string_view text, bool bigEndian = false)
{
    AnsiString bytes;
    for (const char16_t unit : u"\xFEFF" + std::u16string(text)) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? AnsiString{high, low} : AnsiString{low, high};
    }
    return bytes;
}

// Texts with letters beyond ASCII, and the same in code page 1252.
const char8_t Utf8Strings[] = u8"[S]\r\nKey=Grüße € ø\r\n";
const char16_t Utf16Strings[] = u"[S]\r\nKey=Grüße € ø\r\n";
const char AnsiText[] = "Gr\xFC\xDF" "e \x80 \xF8";

const TReadCase ReadCases[] = {
    {"plain", "[Strings]\r\nKey=Value\r\n", "Strings", "Key", "d", "Value"},
    {"names ignore case", "[sTrInGs]\r\nkEY=Value\r\n", "STRINGS", "key", "d", "Value"},
    {"blanks around lines, names and values", "  [Strings]  \r\n \t Key \t=  \t Inner  blanks stay \t \r\n",
     "Strings", "Key", "d", "Inner  blanks stay"},
    {"blanks inside the brackets", "[ \tStrings ]\r\nKey=Value\r\n", "Strings", "Key", "d", "Value"},
    {"end-of-file mark is a blank", "[Strings]\r\nKey=\x1a v \x1a\r\n", "Strings", "Key", "d", "v"},
    {"no-break space is no blank", "[Strings]\r\nKey=\xa0v\xa0\r\n", "Strings", "Key", "d", "\xC2\xA0v\xC2\xA0",
     "\xa0v\xa0"},
    {"blanks around the asked-for names", "[Strings]\r\nKey=Value\r\n", " Strings ", "\tKey ", "d", "Value"},
    {"inner blanks of a key name", "[Strings]\r\nMy  Key=v\r\n", "Strings", "my  key", "d", "v"},
    {"double quotes removed", "[Strings]\r\nKey=\"  quoted  \"\r\n", "Strings", "Key", "d", "  quoted  "},
    {"single quotes removed", "[Strings]\r\nKey='single'\r\n", "Strings", "Key", "d", "single"},
    {"one pair only", "[Strings]\r\nKey=\"\"x\"\"\r\n", "Strings", "Key", "d", "\"x\""},
    {"quotes that do not match stay", "[Strings]\r\nKey=\"half'\r\n", "Strings", "Key", "d", "\"half'"},
    {"an opening quote alone stays", "[Strings]\r\nKey=\"open\r\n", "Strings", "Key", "d", "\"open"},
    {"a lone quote stays", "[Strings]\r\nKey=\"\r\n", "Strings", "Key", "d", "\""},
    {"quotes inside stay", "[Strings]\r\nKey=a \"b\" c\r\n", "Strings", "Key", "d", "a \"b\" c"},
    {"empty quotes give an empty text", "[Strings]\r\nKey=\"\"\r\n", "Strings", "Key", "d", ""},
    {"empty value is not the default", "[Strings]\r\nKey=\r\n", "Strings", "Key", "d", ""},
    {"equals sign in the value", "[Strings]\r\nKey=a=b\r\n", "Strings", "Key", "d", "a=b"},
    {"missing key", "[Strings]\r\nOther=x\r\n", "Strings", "Key", "dflt", "dflt"},
    {"missing section", "[Other]\r\nKey=x\r\n", "Strings", "Key", "dflt", "dflt"},
    {"key without equals sign", "[Strings]\r\nKey\r\n", "Strings", "Key", "dflt", "dflt"},
    {"key in front of every section", "Key=top\r\n[Strings]\r\n", "Strings", "Key", "dflt", "dflt"},
    {"default loses trailing spaces only", "[Strings]\r\n", "Strings", "Key", "  dflt  ", "  dflt"},
    {"default keeps a trailing tab", "[Strings]\r\n", "Strings", "Key", "dflt\t", "dflt\t"},
    {"first matching key", "[Strings]\r\nKey=first\r\nKEY=second\r\n", "Strings", "Key", "d", "first"},
    {"first matching section", "[Strings]\r\nKey=first\r\n[strings]\r\nKey=second\r\n", "Strings", "Key", "d",
     "first"},
    {"only the first matching section", "[Strings]\r\nA=1\r\n[Other]\r\n[STRINGS]\r\nKey=second\r\n", "Strings",
     "Key", "dflt", "dflt"},
    {"section name runs to the last bracket", "[Str]ings]\r\nKey=v\r\n", "Str]ings", "Key", "d", "v"},
    {"text behind the bracket ignored", "[Strings] remark\r\nKey=v\r\n", "Strings", "Key", "d", "v"},
    {"no closing bracket, no section", "[Strings\r\nKey=v\r\n", "Strings", "Key", "dflt", "dflt"},
    {"LF line ends", "[Strings]\nA=1\nKey=lf\nB=2\n", "Strings", "Key", "d", "lf"},
    {"CR line ends", "[Strings]\rA=1\rKey=cr\rB=2\r", "Strings", "Key", "d", "cr"},
    {"mixed line ends", "[Strings]\r\nA=1\rKey=mixed\nB=3", "Strings", "Key", "d", "mixed"},
    {"last line without line end", "[Strings]\r\nKey=last", "Strings", "Key", "d", "last"},
    {"no line end at all", "[Strings]Key=v", "Strings", "Key", "dflt", "dflt"},
    {"tab inside a value stays", "[Strings]\r\nKey=a\tb\r\n", "Strings", "Key", "d", "a\tb"},
    {"tab behind the equals sign is a blank", "[Strings]\r\nKey=\tb\r\n", "Strings", "Key", "d", "b"},
    {"ANSI letters unchanged", "[Strings]\r\nKey=Gr\xFC\xDF" "e \xC4\xD6\xDC \x80\r\n", "Strings", "Key", "d",
     Utf8Bytes(u8"Grüße ÄÖÜ €"), "Gr\xFC\xDF" "e \xC4\xD6\xDC \x80"},
    {"value of 2047 characters", "[Strings]\r\nKey=" + Long2047 + "\r\n", "Strings", "Key", "d", Long2047},
    {"value of 2048 characters", "[Strings]\r\nKey=" + Long2047 + "w\r\n", "Strings", "Key", "d", Long2047},
    {"value of 5000 characters", "[Strings]\r\nKey=" + Repeated(5000) + "\r\n", "Strings", "Key", "d",
     Repeated(2047)},
    {"default of 3000 characters", "", "Strings", "Key", Repeated(3000, 'd'), Repeated(2047, 'd')},
    {"zero bytes", "", "Strings", "Key", "dflt", "dflt"},
    {"a NUL ends the value", Bytes("[Strings]\r\nKey=be\0hind\r\n"), "Strings", "Key", "d", "be"},
    {"binary garbage around the section",
     Bytes("\x80\x81\x00\x7f\x01junk\x00\r\n\x02[x\x00y]\r\n[Strings]\r\n\x03\x04=\x05\r\nKey=ok\r\n\x00\xff\x1b\r\n"),
     "Strings", "Key", "d", "ok"},
    {"UTF-8 without a byte-order mark", Utf8Bytes(u8"[S]\r\nKey=Grüße"), "S", "Key", "d", Utf8Bytes(u8"Grüße")},
    {"UTF-8 behind a byte-order mark", Utf8File(Utf8Strings), "S", "Key", "d", Utf8Bytes(u8"Grüße € ø"), AnsiText},
    {"UTF-16 behind a byte-order mark", Utf16File(Utf16Strings), "S", "Key", "d", Utf8Bytes(u8"Grüße € ø"), AnsiText},
    {"big-endian UTF-16 behind a byte-order mark", Utf16File(Utf16Strings, true), "S", "Key", "d",
     Utf8Bytes(u8"Grüße € ø"), AnsiText},
    {"UTF-8 letters that code page 1252 lacks", Utf8File(u8"[S]\r\nKey=Ł中😀."), "S", "Key", "d",
     Utf8Bytes(u8"Ł中😀."), "L???."},
    {"UTF-16 letters that code page 1252 lacks, a lone surrogate", Utf16File(u"[S]\r\nKey=Ł中😀\xD800."), "S",
     "Key", "d", Utf8Bytes(u8"Ł中😀\uFFFD."), "L????."},
    {"bytes that are no UTF-8 behind its mark", Utf8File(u8"[S]\r\nKey=a") + "\xFF\xC3" "b", "S", "Key", "d",
     Utf8Bytes(u8"aÿÃb"), "a??b"},
    {"value cut after it is converted", Utf16File(u"[S]\r\nKey=" + std::u16string(2100, u'ü')), "S", "Key", "d",
     Repeated(2047, "\xC3\xBC"), Repeated(2047, '\xFC')},
    {"only a UTF-8 byte-order mark", Utf8File(u8""), "S", "Key", "dflt", "dflt"},
    {"a second byte-order mark is text", Utf8File(u8"\uFEFF[S]\r\nKey=v"), "S", "Key", "dflt", "dflt"},
    {"a byte-order mark after the start is text", "\r\n" + Utf8File(u8"[S]\r\nKey=v"), "S", "Key", "dflt", "dflt"},
};

TEST(IniFile, ReadStringFollowsTheProfileRules)
{
    TTempFolder folder;
    for (const TReadCase& c : ReadCases) {
        const TIniFile file(folder.Write(c.Contents));
#ifdef _WIN32
        const AnsiString& expected = c.OnWine.value_or(c.Expected);
#else
        const AnsiString& expected = c.Expected;
#endif
        EXPECT_EQ(file.ReadString(c.Section, c.Key, c.Default), expected) << c.Name;
    }
}

TEST(IniFile, MissingFileOrDirectoryGivesTheDefault)
{
    TTempFolder folder;
    EXPECT_EQ(TIniFile(folder.NewPath()).ReadString("Strings", "Key", "dflt "), "dflt");
    const AnsiString directory = folder.NewPath();
    std::filesystem::create_directory(directory);
    EXPECT_EQ(TIniFile(directory).ReadString("Strings", "Key", "dflt"), "dflt");
}

const TReadCase TabCases[] = {
    {"no tab", "[S]\r\nKey=plain value\r\n", "S", "Key", "d", "plain value"},
    {"first character a tab", "[S]\r\nKey=\"\tremark\"\r\n", "S", "Key", "d", ""},
    {"two tabs", "[S]\r\nKey=one\ttwo\tthree\r\n", "S", "Key", "d", "one"},
    {"spaces before the tab stay", "[S]\r\nKey=text   \tremark\r\n", "S", "Key", "d", "text   "},
    {"default with a tab", "[S]\r\n", "S", "Key", "dflt\tremark", "dflt"},
    {"default starting with a tab", "[S]\r\n", "S", "Key", "\tremark", ""},
    {"tab within the first 2047", "[S]\r\nKey=" + Repeated(100) + "\t" + Repeated(3000) + "\r\n", "S", "Key", "d",
     Repeated(100)},
    {"tab behind the first 2047", "[S]\r\nKey=" + Repeated(2100) + "\tremark\r\n", "S", "Key", "d", Long2047},
};

// The settings' reader decodes the file itself, the same way on every
// platform: a mark says UTF-16 (either byte order) or UTF-8; without one,
// well-formed UTF-8 is UTF-8 and anything else the legacy code page's (1252
// here; the system's ANSI code page on Windows). Windows' own reader knows
// the UTF-16 little-endian mark alone, Wine's all three.
TEST(IniFileKx, ReadsEveryEncodingTheSameWayOnEveryPlatform)
{
    const AnsiString text = Utf8Bytes(u8"Добро 日本 ✓ שלום");
    const AnsiString truncated = Utf16File(u"[S]\r\nKey=ab");
    const struct {
        const char* Name;
        AnsiString Contents;
        AnsiString Section;
        AnsiString Expected;
    } rows[] = {
        {"UTF-16 with its mark", Utf16File(u"[S]\r\nKey=Добро 日本 ✓ שלום"), "S", text},
        {"big-endian UTF-16 with its mark", Utf16File(u"[S]\r\nKey=Добро 日本 ✓ שלום", true), "S", text},
        {"UTF-8 with its mark", Utf8File(u8"[S]\r\nKey=Добро 日本 ✓ שלום"), "S", text},
        {"UTF-8 without a mark", "[S]\r\nKey=" + text, "S", text},
        {"an old code-page file", "[S]\r\nKey=Gr\xFC\xDF" "e \x80", "S", Utf8Bytes(u8"Grüße €")},
        // Half-width katakana of code page 932 that happen to form UTF-8.
        {"a legacy file that reads as UTF-8", "[S]\r\nKey=\xC3\xBD", "S", Utf8Bytes(u8"ý")},
        {"UTF-16 cut in the middle of a character", truncated.substr(0, truncated.size() - 1), "S",
         Utf8Bytes(u8"a\uFFFD")},
        {"names beyond ASCII", Utf8Bytes(u8"[Grüße]\r\nKey=v"), Utf8Bytes(u8"Grüße"), "v"},
    };
    TTempFolder folder;
    for (const auto& row : rows)
        EXPECT_EQ(TIniFileKx(folder.Write(row.Contents)).ReadString(row.Section, "Key", "d"), row.Expected)
            << row.Name;
}

TEST(IniFileKx, ValueEndsBeforeItsFirstTab)
{
    TTempFolder folder;
    for (const TReadCase& c : TabCases) {
        const TIniFileKx file(folder.Write(c.Contents));
        EXPECT_EQ(file.ReadString(c.Section, c.Key, c.Default), c.Expected) << c.Name;
        // Held as its base class, the reader still cuts.
        const TIniFile& base = file;
        EXPECT_EQ(base.ReadString(c.Section, c.Key, c.Default), c.Expected) << c.Name;
    }
}

TEST(IniFileKx, TypedReadersSeeTheValueWithoutItsRemark)
{
    TTempFolder folder;
    const AnsiString path =
        folder.Write("[S]\r\nCount=12\tremark\r\nOn=0\tremark\r\nRatio=2.5\tr\r\nDay=2024-02-29\tr\r\n");
    const TIniFileKx cut(path);
    EXPECT_EQ(cut.ReadInteger("S", "Count", -1), 12);
    EXPECT_FALSE(cut.ReadBool("S", "On", true));
    EXPECT_EQ(cut.ReadFloat("S", "Ratio", -1), 2.5);
    EXPECT_EQ(cut.ReadDate("S", "Day", -1), 45351);
    // The plain reader sees the remark, so the texts are no numbers.
    const TIniFile plain(path);
    EXPECT_EQ(plain.ReadInteger("S", "Count", -1), -1);
    EXPECT_TRUE(plain.ReadBool("S", "On", true));
    EXPECT_EQ(plain.ReadFloat("S", "Ratio", -1), -1);
}

TEST(IniFile, TypedReadersTakeTheirFormsOrTheDefault)
{
    TTempFolder folder;
    const TIniFile file(folder.Write("[S]\r\n"
                                     "Int=42\r\nHex=$1F\r\nNegative=-7\r\nNotInt=12a\r\nEmpty=\r\n"
                                     "Zero=0\r\nOne=1\r\nOther=-5\r\nWord=yes\r\n"
                                     "Float=-0.125\r\nExp=1e-07\r\nComma=2,5\r\n"
                                     "Date=1899-12-29\r\nBadDate=2023-02-29\r\n"
                                     "Time=06:00:00\r\nMs=12:30:15.250\r\nBadTime=24:00:00\r\n"
                                     "Stamp=1899-12-29 06:00:00\r\nDayOnly=1900-01-01\r\n"));
    EXPECT_EQ(file.ReadInteger("S", "Int", 0), 42);
    EXPECT_EQ(file.ReadInteger("S", "Hex", 0), 31);
    EXPECT_EQ(file.ReadInteger("S", "Negative", 0), -7);
    EXPECT_EQ(file.ReadInteger("S", "NotInt", 99), 99);
    EXPECT_EQ(file.ReadInteger("S", "Empty", 99), 99);
    EXPECT_EQ(file.ReadInteger("S", "Missing", 99), 99);

    EXPECT_FALSE(file.ReadBool("S", "Zero", true));
    EXPECT_TRUE(file.ReadBool("S", "One", false));
    EXPECT_TRUE(file.ReadBool("S", "Other", false));
    EXPECT_TRUE(file.ReadBool("S", "Word", true));
    EXPECT_FALSE(file.ReadBool("S", "Word", false));
    EXPECT_TRUE(file.ReadBool("S", "Missing", true));

    EXPECT_EQ(file.ReadFloat("S", "Float", 0), -0.125);
    EXPECT_EQ(file.ReadFloat("S", "Exp", 0), 1e-07);
    EXPECT_EQ(file.ReadFloat("S", "Comma", 9), 9);
    EXPECT_EQ(file.ReadFloat("S", "Empty", 9), 9);

    EXPECT_EQ(file.ReadDate("S", "Date", 9), -1);
    EXPECT_EQ(file.ReadDate("S", "BadDate", 9), 9);
    EXPECT_EQ(file.ReadTime("S", "Time", 9), 0.25);
    EXPECT_DOUBLE_EQ(file.ReadTime("S", "Ms", 9), (45015.25) / 86400);
    EXPECT_EQ(file.ReadTime("S", "BadTime", 9), 9);
    EXPECT_EQ(file.ReadDateTime("S", "Stamp", 9), -1.25);
    EXPECT_EQ(file.ReadDateTime("S", "DayOnly", 9), 2);
    EXPECT_EQ(file.ReadDateTime("S", "Time", 9), 9);
}

std::vector<AnsiString> Items(const TStrings& list)
{
    std::vector<AnsiString> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

TEST(IniFile, SectionReadersListNamesAndLines)
{
    TTempFolder folder;
    const TIniFile file(folder.Write("[First]\r\n"
                                     "A=1\r\n"
                                     " B = \"two\"\t\r\n"
                                     "NoValue\r\n"
                                     ";Remark=x\r\n"
                                     "=nameless\r\n"
                                     "[Second]\r\n"
                                     "C=3\r\n"));
    TStringList list;
    list.Add("replaced");
    file.ReadSections(list);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"First", "Second"}));
    file.ReadSection("first", list);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"A", "B"}));
    file.ReadSectionValues("FIRST", list);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"A=1", "B=\"two\"", "NoValue", "=nameless"}));
    file.ReadSection("Missing", list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(IniFile, ValueExistsForEveryKeyWithAnEqualsSign)
{
    TTempFolder folder;
    const TIniFile file(folder.Write("[Strings]\r\n"
                                     "Filled=x\r\n"
                                     "Empty=\r\n"
                                     "Blank= \t \r\n"
                                     "NoValue\r\n"
                                     ";Remark=x\r\n"
                                     "[strings.DE-ch]\r\n"
                                     "Swiss=\r\n"
                                     "[Strings]\r\n"
                                     "Later=x\r\n"));
    const struct {
        const char* Section;
        const char* Key;
        bool Exists;
    } cases[] = {
        {"Strings", "Filled", true},     {"Strings", "Empty", true},    {"Strings", "Blank", true},
        {"STRINGS", "empty", true},      {"Strings.de-CH", "Swiss", true}, {"Strings", "Missing", false},
        {"Strings", "NoValue", false},   {"Strings", ";Remark", false}, {"Strings", "Remark", false},
        {"Strings.de", "Swiss", false},  {"Strings", "Later", false},   {"Missing", "Filled", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(file.ValueExists(c.Section, c.Key), c.Exists) << c.Section << " " << c.Key;
}

} // namespace
