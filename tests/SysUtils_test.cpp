#include <gtest/gtest.h>

#include "Expect.h"
#include "SysUtils.h"

namespace {

struct TIntCase {
    const char* Text;
    bool Valid;
    int Value;
};

const TIntCase IntCases[] = {
    {"120", true, 120},          {" 120", true, 120},          {"   -7", true, -7},
    {"+15", true, 15},           {"0", true, 0},               {"000120", true, 120},
    {"-2147483648", true, INT32_MIN}, {"2147483647", true, INT32_MAX}, {"2147483648", false, 0},
    {"-2147483649", false, 0},   {"99999999999999999999", false, 0},
    {"$78", true, 120},          {"0x78", true, 120},          {"0X78", true, 120},
    {"x78", true, 120},          {"X7f", true, 127},           {"$FFFFFFFF", true, -1},
    {"$80000000", true, INT32_MIN}, {"$000000001", false, 0},  {"$", false, 0},
    {"0x", false, 0},            {"-$10", false, 0},           {"$1G", false, 0},
    {"", false, 0},              {" ", false, 0},              {"+", false, 0},
    {"-", false, 0},             {"120a", false, 0},           {"120 ", false, 0},
    {"\t120", false, 0},         {"1 2", false, 0},            {"--1", false, 0},
    {"00x1", false, 0},          {"1e3", false, 0},
};

TEST(StrToInt, AcceptsExactlyTheStatedForms)
{
    for (const TIntCase& c : IntCases) {
        int value = 12345;
        EXPECT_EQ(TryStrToInt(c.Text, value), c.Valid) << '"' << c.Text << '"';
        if (c.Valid) {
            EXPECT_EQ(value, c.Value) << '"' << c.Text << '"';
        }
        EXPECT_EQ(StrToIntDef(c.Text, 7), c.Valid ? c.Value : 7) << '"' << c.Text << '"';
    }
}

TEST(StrToInt, RaisesConvertErrorNamingTheText)
{
    EXPECT_EQ(StrToInt("0x1F"), 31);
    EXPECT_THROW_MSG(StrToInt("0X g"), EConvertError, "'0X g' ist kein gültiger Integerwert");
}

TEST(TryStrToInt, StopsAtTheStringsLengthNotAtAnEmbeddedNul)
{
    int value = 0;
    EXPECT_FALSE(TryStrToInt(AnsiString("12\0" "3", 4), value));
}

TEST(ErrorBoxText, AppendsAFullStopOnlyAfterCharactersAboveTheFullStop)
{
    EXPECT_EQ(ErrorBoxText("Unable to create Mailslot"), "Unable to create Mailslot.");
    EXPECT_EQ(ErrorBoxText("Count 5"), "Count 5.");
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("Stop!"), "Stop!");
    // ")" is code 41, below "." (46).
    EXPECT_EQ(ErrorBoxText("Maximum (1)"), "Maximum (1)");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("a/"), "a/.");
    // Characters of the upper half count by their unsigned code.
    EXPECT_EQ(ErrorBoxText("Gr\xFC"), "Gr\xFC.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(Format, FormatsLongTexts)
{
    const AnsiString longText(5000, 'a');
    EXPECT_EQ(Format("<%s|%d>", longText.c_str(), -3), "<" + longText + "|-3>");
}

TEST(AnsiText, ComparesAndMapsAsciiWithoutRegardToCase)
{
    EXPECT_TRUE(AnsiSameText("TERMINATE", "terminate"));
    EXPECT_FALSE(AnsiSameText("terminate", "terminat"));
    EXPECT_EQ(AnsiLowerCase("InStAlL"), "install");
    EXPECT_EQ(AnsiUpperCase("abc1"), "ABC1");
    EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
    EXPECT_EQ(AnsiCharLower('Q'), 'q');
    EXPECT_TRUE(AnsiIsCharAlphaNumeric('7'));
    EXPECT_FALSE(AnsiIsCharAlphaNumeric('-'));
}

} // namespace
