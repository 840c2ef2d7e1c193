#pragma once
// Our own reading of the private-profile text format (the rules are listed
// at TIniFile), for platforms that have no private-profile functions.
#include <optional>
#include <string_view>
#include <vector>

#include "AnsiString.h"

struct TIniEntry {
    AnsiString Name;
    std::optional<AnsiString> Value; // none for a line without "="
};

struct TIniSection {
    AnsiString Name; // empty for the lines in front of the first section
    std::vector<TIniEntry> Entries;
};

// The file's bytes as code-page-1252 text. As on the platform, a byte-order
// mark at the start says that the file is UTF-8 or UTF-16 (either byte
// order), and the text is converted as the command line is (what the code
// page lacks becomes "?"); without one the bytes are the code page's already.
AnsiString DecodeIniFile(std::string_view bytes);

// The file's sections in file order. A NUL ends a name or a value.
std::vector<TIniSection> ParseIniText(std::string_view text);

// What ReadString gives for the section, key and default.
AnsiString LookUpIniString(const std::vector<TIniSection>& sections, const AnsiString& section,
                           const AnsiString& ident, const AnsiString& defaultValue);
// The first section of that name, or null.
const TIniSection* FindIniSection(const std::vector<TIniSection>& sections, const AnsiString& section);
