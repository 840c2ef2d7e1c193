#include "Classes.h"

#include <algorithm>

#include "Consts.h"
#include "SysUtils.h"

int TStrings::Add(const AnsiString& text)
{
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::IndexOf(const AnsiString& text) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), text) == 0)
            return i;
    return -1;
}

AnsiString TStrings::Text() const
{
    AnsiString text;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

int TStrings::CompareStrings(const AnsiString& a, const AnsiString& b) const
{
    return AnsiCompareText(a, b);
}

void TStrings::ListIndexError(int index)
{
    throw EStringListError(Format(SListIndexError, index));
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
}

AnsiString TStringList::Get(int index) const
{
    CheckIndex(index);
    return FList[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const AnsiString& text)
{
    if (FSorted)
        throw EStringListError(SSortedListError);
    CheckIndex(index);
    FList[static_cast<size_t>(index)] = text;
}

void TStringList::Insert(int index, const AnsiString& text)
{
    if (FSorted)
        throw EStringListError(SSortedListError);
    if (index < 0 || index > Count())
        ListIndexError(index);
    FList.insert(FList.begin() + index, text);
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    FList.erase(FList.begin() + index);
}

int TStringList::Add(const AnsiString& text)
{
    if (!FSorted) {
        FList.push_back(text);
        return Count() - 1;
    }
    int index = 0;
    if (Find(text, index)) {
        if (Duplicates == dupIgnore)
            return index;
        if (Duplicates == dupError)
            throw EStringListError(SDuplicateString);
        // Accepted duplicates go behind the equal ones already there.
        while (index < Count() && CompareStrings(FList[static_cast<size_t>(index)], text) == 0)
            ++index;
    }
    FList.insert(FList.begin() + index, text);
    return index;
}

int TStringList::IndexOf(const AnsiString& text) const
{
    if (!FSorted)
        return TStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& text, int& index) const
{
    const auto first = std::lower_bound(FList.begin(), FList.end(), text,
                                        [this](const AnsiString& item, const AnsiString& sought) {
                                            return CompareStrings(item, sought) < 0;
                                        });
    index = static_cast<int>(first - FList.begin());
    return first != FList.end() && CompareStrings(*first, text) == 0;
}

void TStringList::Sort()
{
    std::stable_sort(FList.begin(), FList.end(), [this](const AnsiString& a, const AnsiString& b) {
        return CompareStrings(a, b) < 0;
    });
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !FSorted)
        Sort();
    FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive)
{
    FCaseSensitive = caseSensitive;
    if (FSorted)
        Sort();
}

int TStringList::CompareStrings(const AnsiString& a, const AnsiString& b) const
{
    return FCaseSensitive ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}
