#include "IniFormat.h"

#include "FilePaths.h"
#include "IniFiles.h"
#include "SysUtils.h"
#include "Utf8.h"

namespace {

// Code 26 is the old end-of-file mark.
bool IsBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1a';
}

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view TrimRight(std::string_view text)
{
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Names and values end at a NUL, as the platform's C strings do.
AnsiString UpToNul(std::string_view text)
{
    return AnsiString(text.substr(0, text.find('\0')));
}

// Cuts the next line off `text`: it ends at CR LF, LF or CR.
std::string_view NextLine(std::string_view& text)
{
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
    return line;
}

AnsiString Unquoted(const AnsiString& value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Asked-for names are compared as the platform does: as C strings, without
// the blanks around them.
AnsiString AskedName(const AnsiString& name)
{
    return AnsiString(TrimRight(TrimLeft(name.c_str())));
}

} // namespace

std::vector<TIniSection> ReadIniFile(const AnsiString& fileName)
{
    return ParseIniText(DecodeIniFile(ReadFileBytes(fileName)));
}

AnsiString DecodeIniFile(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE"))
        return Utf16ToUtf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return Utf16ToUtf8(bytes.substr(2), true);
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return TextToUtf8(bytes.substr(3));
    return TextToUtf8(bytes);
}

std::vector<TIniSection> ParseIniText(std::string_view text)
{
    std::vector<TIniSection> sections(1);
    while (!text.empty()) {
        const std::string_view line = TrimRight(TrimLeft(NextLine(text)));
        if (line.empty())
            continue;
        const size_t closing = line.rfind(']');
        if (line.front() == '[' && closing != std::string_view::npos) {
            sections.push_back({UpToNul(TrimRight(TrimLeft(line.substr(1, closing - 1)))), {}});
            continue;
        }
        const size_t equals = line.find('=');
        TIniEntry entry{UpToNul(TrimRight(line.substr(0, equals))), std::nullopt};
        if (equals != std::string_view::npos)
            entry.Value = UpToNul(TrimLeft(line.substr(equals + 1)));
        sections.back().Entries.push_back(std::move(entry));
    }
    return sections;
}

const TIniSection* FindIniSection(const std::vector<TIniSection>& sections, const AnsiString& section)
{
    const AnsiString name = AskedName(section);
    for (const TIniSection& candidate : sections)
        if (AnsiSameText(candidate.Name, name))
            return &candidate;
    return nullptr;
}

AnsiString LookUpIniString(const std::vector<TIniSection>& sections, const AnsiString& section,
                           const AnsiString& ident, const AnsiString& defaultValue)
{
    AnsiString value;
    const TIniSection* found = FindIniSection(sections, section);
    const AnsiString name = AskedName(ident);
    const TIniEntry* entry = nullptr;
    if (found != nullptr)
        for (const TIniEntry& candidate : found->Entries)
            if (AnsiSameText(candidate.Name, name)) {
                entry = &candidate;
                break;
            }
    if (entry != nullptr && entry->Value) {
        value = Unquoted(*entry->Value);
    } else {
        value = defaultValue.c_str();
        value.erase(value.find_last_not_of(' ') + 1);
    }
    return AnsiString(Utf8Prefix(value, IniValueMaxLength));
}
