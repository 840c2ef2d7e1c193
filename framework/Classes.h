#pragma once
// String lists of the framework layer.
#include <vector>

#include "AnsiString.h"

enum TDuplicates { dupIgnore, dupAccept, dupError };

// Abstract ordered list of strings, indexed from 0.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual int Count() const = 0;
    // Raises EStringListError "Der Index der Liste überschreitet das Maximum (<index>)"
    // for an index outside 0 to Count() - 1.
    virtual AnsiString Get(int index) const = 0;
    virtual void Put(int index, const AnsiString& text) = 0;
    virtual void Insert(int index, const AnsiString& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    // Appends and returns the new string's index.
    virtual int Add(const AnsiString& text);
    // Index of the first equal string, or -1.
    virtual int IndexOf(const AnsiString& text) const;

    AnsiString operator[](int index) const { return Get(index); }
    AnsiString Strings(int index) const { return Get(index); }
    // The strings, each followed by carriage return and line feed.
    AnsiString Text() const;

protected:
    // The list's rule for equal strings: without regard to case, in the user's locale.
    virtual int CompareStrings(const AnsiString& a, const AnsiString& b) const;
    [[noreturn]] static void ListIndexError(int index);
};

class TStringList : public TStrings {
public:
    int Count() const override { return static_cast<int>(FList.size()); }
    AnsiString Get(int index) const override;
    void Put(int index, const AnsiString& text) override;
    void Insert(int index, const AnsiString& text) override;
    void Delete(int index) override;
    void Clear() override { FList.clear(); }
    // In a sorted list the string goes to its place; an equal string already
    // there is handled by Duplicates (ignored, accepted, or EStringListError).
    int Add(const AnsiString& text) override;
    int IndexOf(const AnsiString& text) const override;
    // Binary search of a sorted list: true when an equal string exists, with
    // `index` at the first one; otherwise `index` is where it would go.
    bool Find(const AnsiString& text, int& index) const;
    void Sort();

    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive);
    TDuplicates Duplicates = dupIgnore;

protected:
    int CompareStrings(const AnsiString& a, const AnsiString& b) const override;

private:
    void CheckIndex(int index) const;

    std::vector<AnsiString> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
};
