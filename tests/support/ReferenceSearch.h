#pragma once
// The text search of the utility library as it is described, one character at
// a time through the platform's single-character routines: the yardstick for
// the library's faster search in the tests and the fuzz target.
#include "SysUtils.h"

inline int ReferenceSearch(const AnsiString& pattern, const AnsiString& text, bool caseSensitive, bool wholeWord)
{
    if (pattern.empty() || text.empty())
        return -1;
    const auto same = [&](char t, char p) { return caseSensitive ? t == p : AnsiCharLower(t) == AnsiCharLower(p); };
    const auto isWordChar = [&](size_t i) { return i < text.size() && AnsiIsCharAlphaNumeric(text[i]); };
    for (size_t start = 0; start < text.size();) {
        size_t matched = 0;
        while (matched < pattern.size() && start + matched < text.size() &&
               same(text[start + matched], pattern[matched]))
            ++matched;
        if (!wholeWord) {
            if (matched == pattern.size())
                return static_cast<int>(start);
            ++start;
            continue;
        }
        // Walk on from the failing (or last matched) character over word
        // characters; the next attempt starts behind the first other one.
        size_t skip = start + matched;
        if (matched == pattern.size()) {
            if (!isWordChar(skip))
                return static_cast<int>(start);
            skip = start + matched - 1;
        }
        while (isWordChar(skip))
            ++skip;
        start = skip + 1;
    }
    return -1;
}
