// TIniFile on platforms without private-profile functions: our own reader of
// the same format. Writing is not provided here.
#include "Consts.h"
#include "IniFiles.h"
#include "IniFormat.h"
#include "SysUtils.h"

namespace {

[[noreturn]] void WritingNotSupported(const char* operation)
{
    throw Exception(Format(SIniWriteNotSupported, operation));
}

} // namespace

AnsiString TIniFile::ReadString(const AnsiString& section, const AnsiString& ident,
                                const AnsiString& defaultValue) const
{
    return LookUpIniString(ReadIniFile(FFileName), section, ident, defaultValue);
}

void TIniFile::ReadSection(const AnsiString& section, TStrings& idents) const
{
    idents.Clear();
    const std::vector<TIniSection> sections = ReadIniFile(FFileName);
    if (const TIniSection* found = FindIniSection(sections, section))
        for (const TIniEntry& entry : found->Entries)
            if (entry.Value && !entry.Name.empty() && entry.Name.front() != ';')
                idents.Add(entry.Name);
}

void TIniFile::ReadSections(TStrings& sections) const
{
    sections.Clear();
    for (const TIniSection& section : ReadIniFile(FFileName))
        if (!section.Name.empty())
            sections.Add(section.Name);
}

void TIniFile::ReadSectionValues(const AnsiString& section, TStrings& values) const
{
    values.Clear();
    const std::vector<TIniSection> sections = ReadIniFile(FFileName);
    if (const TIniSection* found = FindIniSection(sections, section))
        for (const TIniEntry& entry : found->Entries)
            if ((entry.Value || !entry.Name.empty()) && entry.Name.compare(0, 1, ";") != 0)
                values.Add(entry.Value ? entry.Name + '=' + *entry.Value : entry.Name);
}

void TIniFile::WriteString(const AnsiString&, const AnsiString&, const AnsiString&)
{
    WritingNotSupported("WriteString");
}

void TIniFile::EraseSection(const AnsiString&)
{
    WritingNotSupported("EraseSection");
}

void TIniFile::DeleteKey(const AnsiString&, const AnsiString&)
{
    WritingNotSupported("DeleteKey");
}

void TIniFile::UpdateFile()
{
    // Nothing is ever held back here: there is nothing to write.
}
