#include <gtest/gtest.h>

#include <functional>

#include "Classes.h"
#include "Expect.h"
#include "SysUtils.h"

namespace {

std::vector<AnsiString> Items(const TStrings& list)
{
    std::vector<AnsiString> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

void ExpectIndexError(const std::function<void()>& action, const char* message)
{
    EXPECT_THROW_MSG(action(), EStringListError, message);
}

TEST(TStringList, UnsortedKeepsOrderAndDuplicates)
{
    TStringList list;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("a"), 1);
    EXPECT_EQ(list.Add("b"), 2);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"b", "a", "b"}));
    EXPECT_EQ(list.IndexOf("B"), 0);
    EXPECT_EQ(list.IndexOf("c"), -1);
    list.Insert(1, "x");
    list.Delete(0);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"x", "a", "b"}));
    EXPECT_EQ(list.Text(), "x\r\na\r\nb\r\n");
}

TEST(TStringList, IndexOutOfRangeRaisesWithTheIndex)
{
    TStringList list;
    list.Add("only");
    ExpectIndexError([&] { list.Get(1); }, "Der Index der Liste überschreitet das Maximum (1)");
    ExpectIndexError([&] { list.Get(-1); }, "Der Index der Liste überschreitet das Maximum (-1)");
    ExpectIndexError([&] { list.Delete(5); }, "Der Index der Liste überschreitet das Maximum (5)");
    ExpectIndexError([&] { list.Insert(3, "x"); }, "Der Index der Liste überschreitet das Maximum (3)");
    ExpectIndexError([&] { list.Put(2, "x"); }, "Der Index der Liste überschreitet das Maximum (2)");
    EXPECT_EQ(list.Count(), 1);
}

TEST(TStringList, SortedAddPlacesAndHonoursDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("delta");
    list.Add("alpha");
    list.Add("charlie");
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"alpha", "charlie", "delta"}));

    // Ignored: the index of the equal string comes back, nothing is added.
    EXPECT_EQ(list.Add("CHARLIE"), 1);
    EXPECT_EQ(list.Count(), 3);

    list.Duplicates = dupError;
    EXPECT_THROW(list.Add("Alpha"), EStringListError);
    EXPECT_EQ(list.Count(), 3);

    list.Duplicates = dupAccept;
    EXPECT_EQ(list.Add("Charlie"), 2);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"alpha", "charlie", "Charlie", "delta"}));

    EXPECT_THROW(list.Insert(0, "zulu"), EStringListError);
}

TEST(TStringList, CaseSensitivityDecidesEquality)
{
    TStringList list;
    list.SetSorted(true);
    list.SetCaseSensitive(true);
    list.Add("abc");
    EXPECT_EQ(list.IndexOf("ABC"), -1);
    EXPECT_EQ(list.Add("ABC") >= 0, true);
    EXPECT_EQ(list.Count(), 2);

    int index = -1;
    EXPECT_TRUE(list.Find("abc", index));
    EXPECT_EQ(list[index], "abc");
    EXPECT_FALSE(list.Find("abd", index));

    list.SetCaseSensitive(false);
    EXPECT_NE(list.IndexOf("Abc"), -1);
}

TEST(TStringList, SortingAnUnsortedListOrdersIt)
{
    TStringList list;
    for (const char* text : {"pear", "Apple", "fig"})
        list.Add(text);
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (std::vector<AnsiString>{"Apple", "fig", "pear"}));
    EXPECT_EQ(list.IndexOf("FIG"), 1);
}

} // namespace
