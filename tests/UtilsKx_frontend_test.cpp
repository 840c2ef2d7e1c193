#include <gtest/gtest.h>

#include "UtilsKx.h"
#include "UtilsKxInternal.h"

namespace {

using Texts = std::vector<AnsiString>;

struct TSplit {
    int Count;
    Texts Fields;
};

TSplit Split(const char* text, char separator, char quote)
{
    TStringList list;
    TSplit result;
    result.Count = NUtilsKx::SplitQuoted(text, separator, &list, quote);
    for (int i = 0; i < list.Count(); ++i)
        result.Fields.push_back(list[i]);
    return result;
}

TEST(SplitQuoted, EveryFieldCountsEmptyOnesToo)
{
    TSplit split = Split("Reboot|30", '|', 0);
    EXPECT_EQ(split.Count, 2);
    EXPECT_EQ(split.Fields, (Texts{"Reboot", "30"}));

    split = Split("ProcessPackage|name|", '|', 0);
    EXPECT_EQ(split.Count, 3);
    EXPECT_EQ(split.Fields, (Texts{"ProcessPackage", "name", ""}));

    split = Split("|", '|', 0);
    EXPECT_EQ(split.Count, 2);
    EXPECT_EQ(split.Fields, (Texts{"", ""}));

    EXPECT_EQ(Split("|a||b", '|', 0).Fields, (Texts{"", "a", "", "b"}));
}

TEST(SplitQuoted, NullOrEmptyTextLeavesTheListAlone)
{
    TStringList list;
    list.Add("kept");
    EXPECT_EQ(NUtilsKx::SplitQuoted(nullptr, '|', &list, 0), 0);
    EXPECT_EQ(NUtilsKx::SplitQuoted("", '|', &list, 0), 0);
    ASSERT_EQ(list.Count(), 1);
    // Fields are appended behind what the list holds.
    EXPECT_EQ(NUtilsKx::SplitQuoted("a|b", '|', &list, 0), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "kept");
}

TEST(SplitQuoted, QuoteCharacterGroupsAndIsRemoved)
{
    // Without a quote character the double quote is ordinary.
    EXPECT_EQ(Split("a\"b|c\"d", '|', 0).Fields, (Texts{"a\"b", "c\"d"}));
    EXPECT_EQ(Split("a\"b|c\"d|e", '|', '"').Fields, (Texts{"ab|cd", "e"}));
    EXPECT_EQ(Split("x\"\"y", '|', '"').Fields, (Texts{"xy"}));
}

TEST(SplitQuoted, OpenQuoteDropsTheLastField)
{
    TSplit split = Split("a|b\"c|d", '|', '"');
    EXPECT_EQ(split.Count, 1);
    EXPECT_EQ(split.Fields, (Texts{"a"}));
    EXPECT_EQ(Split("\"only", '|', '"').Count, 0);
}

TEST(SplitQuoted, QuoteEqualToSeparatorNeverSplitsAndNulSeparatorTakesAll)
{
    EXPECT_EQ(Split("a|b|c", '|', '|').Fields, (Texts{"abc"}));
    EXPECT_EQ(Split("a|b", '\0', 0).Fields, (Texts{"a|b"}));
}

TEST(SplitQuoted, SortedListAppliesItsOwnRules)
{
    TStringList list;
    list.SetSorted(true);
    EXPECT_EQ(NUtilsKx::SplitQuoted("b|a|b", '|', &list, 0), 3);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list[0], "a");
}

TEST(PathDelimiter, AddAppendsOneBackslash)
{
    const std::pair<AnsiString, AnsiString> cases[] = {
        {"C:\\Temp", "C:\\Temp\\"}, {"C:\\Temp\\", "C:\\Temp\\"}, {"C:", "C:\\"}, {"", ""}, {"a/", "a/\\"}};
    for (const auto& [path, expected] : cases) {
        AnsiString changed = path;
        NUtilsKx::AddPathDelimiter(changed);
        EXPECT_EQ(changed, expected) << path;
    }
}

TEST(PathDelimiter, RemoveTakesOneBackslashButKeepsRoots)
{
    const std::pair<AnsiString, AnsiString> cases[] = {{"C:\\Temp\\", "C:\\Temp"}, {"C:\\", "C:\\"},
                                                       {"\\", "\\"},           {"a\\\\", "a\\"},
                                                       {"C:\\Temp", "C:\\Temp"}, {"", ""},
                                                       {"\\\\", "\\"}};
    for (const auto& [path, expected] : cases) {
        AnsiString changed = path;
        NUtilsKx::RemovePathDelimiter(changed);
        EXPECT_EQ(changed, expected) << path;
    }
}

} // namespace
