#include "Language.h"

#include <algorithm>

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllOf(std::string_view text, bool (*test)(char))
{
    return std::all_of(text.begin(), text.end(), test);
}

// ASCII rules, not the user's locale's: a Turkish locale would turn "i"
// into a dotted capital I.
AnsiString Cased(std::string_view text, bool upper)
{
    AnsiString result(text);
    for (char& c : result)
        if (IsLetter(c))
            c = static_cast<char>(upper ? (c & ~0x20) : (c | 0x20));
    return result;
}

// Cuts the next subtag off `name`; subtags are separated by "-" or "_".
std::string_view NextSubtag(std::string_view& name)
{
    const size_t end = name.find_first_of("-_");
    const std::string_view subtag = name.substr(0, end);
    name.remove_prefix(end == std::string_view::npos ? name.size() : end + 1);
    return subtag;
}

} // namespace

AnsiString LanguageTagOf(std::string_view name)
{
    // A POSIX locale's code set and modifier say nothing of the language.
    name = name.substr(0, name.find_first_of(".@"));
    const std::string_view language = NextSubtag(name);
    if (language.size() < 2 || language.size() > 3 || !AllOf(language, IsLetter))
        return AnsiString();
    std::string_view subtag = NextSubtag(name);
    if (subtag.size() == 4 && AllOf(subtag, IsLetter))
        subtag = NextSubtag(name);
    AnsiString tag = Cased(language, false);
    if ((subtag.size() == 2 && AllOf(subtag, IsLetter)) || (subtag.size() == 3 && AllOf(subtag, IsDigit)))
        tag.append(1, '-').append(Cased(subtag, true));
    return tag;
}

AnsiString LanguageFromEnvironment(const std::function<const char*(const char*)>& variable)
{
    const char* list = variable("LANGUAGE");
    if (list != nullptr && *list != '\0') {
        const std::string_view entries = list;
        return LanguageTagOf(entries.substr(0, entries.find(':')));
    }
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = variable(name);
        if (value != nullptr && *value != '\0')
            return LanguageTagOf(value);
    }
    return AnsiString();
}
